#include "platform/posix/error_text.h"

#include <cerrno>
#include <cstring>

#include "platform/utf.h"

namespace quenzart {

std::u16string ReasonFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return u"找不到该文件或目录";
    case EACCES:
    case EPERM:
      return u"没有权限";
    case EROFS:
      return u"文件系统是只读的";
    case ENOSPC:
    case EDQUOT:
      return u"磁盘空间不足";
    case EISDIR:
      return u"该名称已被一个文件夹占用";
    case ENOTDIR:
      return u"路径中的某一项不是文件夹";
    case ENOEXEC:
      return u"不是可以执行的程序";
    case ETXTBSY:
      return u"文件正被使用";
    case EIO:
      return u"读写设备时出错";
    case ENAMETOOLONG:
      return u"名称太长";
    case ENOMEM:
      return u"内存不足";
    case EMFILE:
    case ENFILE:
      return u"打开的文件太多";
    case EAGAIN:
      return u"系统资源暂时不足";
    case EBUSY:
      return u"文件或设备正忙";
    case ELOOP:
      return u"符号链接太多";
    default:
      break;
  }
  char buffer[256];
  // The GNU strerror_r returns the text, not necessarily in the buffer.
  const char* text = strerror_r(error, buffer, sizeof buffer);
  return FromUtf8(text);
}

}  // namespace quenzart

#include "server/command_lines.h"

namespace quenzart {

std::u16string StatusCommandLine(std::u16string_view localIp, std::u16string_view port) {
  std::u16string line = u"explorer.exe http://";
  line += localIp;
  line += u':';
  line += port;
  return line;
}

}  // namespace quenzart

#include "panel/messages.h"

namespace quenzart {

std::u16string DescribeFailure(const Failure& failure) {
  std::u16string text = u"无法";
  text += failure.action;
  text += u"“";
  text += failure.object;
  text += u"”";
  if (!failure.reason.empty()) {
    text += u"：";
    text += failure.reason;
  }
  text += u"。";
  return text;
}

std::u16string DescribeFailedStopOnExit(const Failure& failure) {
  return DescribeFailure(failure) + u"服务器可能仍在运行。";
}

}  // namespace quenzart

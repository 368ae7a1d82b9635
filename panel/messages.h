#pragma once

#include <string>

#include "platform/failure.h"

namespace quenzart {

// One sentence for a message box, e.g.
// 无法启动程序“quenzartsrv.exe”：找不到该程序。
std::u16string DescribeFailure(const Failure& failure);

// The same, when the panel is ending although the stop of the server failed.
std::u16string DescribeFailedStopOnExit(const Failure& failure);

}  // namespace quenzart

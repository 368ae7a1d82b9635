#pragma once

#include <string>

namespace quenzart {

// The reason of a failed system call in words for the operator: the common
// ones in Chinese, others in the system's own text.
std::u16string ReasonFromErrno(int error);

}  // namespace quenzart

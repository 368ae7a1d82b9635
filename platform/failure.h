#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quenzart {

// What went wrong in a platform operation, in words the operator can read:
// the action ("启动程序"), what it was done to ("quenzartsrv.exe") and why
// ("找不到该程序"). The handler turns it into one sentence for a message box.
struct Failure {
  std::u16string action;
  std::u16string object;
  std::u16string reason;

  friend bool operator==(const Failure&, const Failure&) = default;
};

// Success of an operation without a value is the absence of a failure.
using Outcome = std::optional<Failure>;

// A value or the failure that prevented it.
template <typename T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

  bool ok() const { return std::holds_alternative<T>(state_); }
  T& value() { return std::get<T>(state_); }
  const Failure& failure() const { return std::get<Failure>(state_); }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace quenzart

#pragma once

#include <functional>

#include "platform/platform.h"

class QWidget;

namespace quenzart {

// Message boxes titled "QuenzartServer GUI", and the end of the program
// through the toolkit's event loop.
class QtProgramControl final : public ProgramControl {
 public:
  // onEnd runs when the program ends, before the event loop is left.
  explicit QtProgramControl(std::function<void()> onEnd = {}) : onEnd_(std::move(onEnd)) {}

  void SetMessageParent(QWidget* parent) { parent_ = parent; }
  void ReportFailure(std::u16string_view message) override;
  void EndProgram() override;

 private:
  QWidget* parent_ = nullptr;
  std::function<void()> onEnd_;
};

}  // namespace quenzart

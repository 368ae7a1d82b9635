#pragma once

#include <QWidget>

namespace quenzart {

// Form2, the About window: fixed size, no minimize or maximize button, its
// OK button and its close button unload it (the window is deleted).
class AboutWindow final : public QWidget {
 public:
  AboutWindow();
};

}  // namespace quenzart

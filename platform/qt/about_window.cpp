#include "platform/qt/about_window.h"

#include <QPushButton>

#include "panel/form2_layout.h"
#include "platform/qt/window_builder.h"

namespace quenzart {

AboutWindow::AboutWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("Form2");
  const auto widgets = BuildControls(*this, Form2Layout());
  auto* ok = static_cast<QPushButton*>(widgets.at(AboutControlId::Command1));
  connect(ok, &QPushButton::clicked, this, &QWidget::close);
  ok->setFocus();
}

}  // namespace quenzart

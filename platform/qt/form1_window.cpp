#include "platform/qt/form1_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "panel/form1.h"
#include "panel/form1_layout.h"
#include "platform/qt/about_window.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/text_box_text.h"
#include "platform/qt/window_builder.h"

namespace quenzart {

Form1Window::Form1Window()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  setObjectName("Form1");
  widgets_ = BuildControls(*this, Form1Layout());
  for (const ControlLayout& control : Form1Layout().controls) {
    const auto label = LabelOf(control.id);
    if (!label) continue;
    auto* caption = static_cast<QLabel*>(widgets_.at(*label));
    caption->setBuddy(widgets_.at(control.id));
    widgets_.at(control.id)->setAccessibleName(caption->text());
  }
  KeepOneTabStopPerOptionGroup();
}

Form1Window::~Form1Window() {
  delete about_.data();
}

void Form1Window::Connect(Form1& form) {
  form_ = &form;
  const std::pair<ControlId, void (Form1::*)()> clicks[] = {
      {ControlId::command1, &Form1::command1_Click}, {ControlId::command2, &Form1::command2_Click},
      {ControlId::Command3, &Form1::Command3_Click}, {ControlId::command4, &Form1::command4_Click},
      {ControlId::Command5, &Form1::Command5_Click},
  };
  for (const auto& [id, handler] : clicks) {
    connect(static_cast<QPushButton*>(widgets_.at(id)), &QPushButton::clicked, this,
            [this, handler = handler] { (form_->*handler)(); });
  }
}

void Form1Window::ShowCentred() {
  CentreOnScreen(*this);
  show();
  widgets_.at(ControlId::Text1_0)->setFocus();
}

std::u16string Form1Window::Text(ControlId textBox) const {
  QWidget* widget = widgets_.at(textBox);
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
    // The raw text keeps no-break spaces, which toPlainText turns into blanks.
    return PanelTextFromDocument(FromQString(box->document()->toRawText()));
  }
  return FromQString(static_cast<QLineEdit*>(widget)->text());
}

void Form1Window::SetText(ControlId textBox, std::u16string_view text) {
  QWidget* widget = widgets_.at(textBox);
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
    box->setPlainText(ToQString(DocumentTextFromPanel(text)));
  } else {
    static_cast<QLineEdit*>(widget)->setText(ToQString(text));
  }
}

bool Form1Window::IsSelected(ControlId option) const {
  return static_cast<QRadioButton*>(widgets_.at(option))->isChecked();
}

void Form1Window::Select(ControlId option) {
  static_cast<QRadioButton*>(widgets_.at(option))->setChecked(true);
}

void Form1Window::SetEnabled(ControlId button, bool enabled) {
  widgets_.at(button)->setEnabled(enabled);
}

void Form1Window::SetCaption(ControlId label, std::u16string_view caption) {
  static_cast<QLabel*>(widgets_.at(label))->setText(ToQString(caption));
}

void Form1Window::SetSelection(ControlId textBox, std::size_t start, std::size_t length) {
  QWidget* widget = widgets_.at(textBox);
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
    const std::u16string text = Text(textBox);
    QTextCursor cursor(box->document());
    const int end = static_cast<int>(cursor.document()->characterCount() - 1);
    cursor.setPosition(std::min(end, static_cast<int>(DocumentPositionFromPanel(text, start))));
    cursor.setPosition(
        std::min(end, static_cast<int>(DocumentPositionFromPanel(text, start + length))),
        QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
  } else {
    static_cast<QLineEdit*>(widget)->setSelection(static_cast<int>(start),
                                                  static_cast<int>(length));
  }
}

void Form1Window::ShowAboutWindow() {
  if (about_ == nullptr) {
    about_ = new AboutWindow;
    about_->setWindowIcon(windowIcon());
    CentreOnScreen(*about_);
  }
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void Form1Window::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!ending_ && form_ != nullptr) form_->Unload();
}

void Form1Window::changeEvent(QEvent* event) {
  // The window has no maximize button; a window manager that maximizes it
  // anyway is undone.
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized)) {
    setWindowState(windowState() & ~Qt::WindowMaximized);
  }
  QWidget::changeEvent(event);
}

// Tab stops at the selected button of each option frame only, as in a
// Windows dialog; the arrow keys move within the frame.
void Form1Window::KeepOneTabStopPerOptionGroup() {
  std::vector<QRadioButton*> options;
  for (const ControlLayout& control : Form1Layout().controls) {
    if (control.kind == ControlKind::OptionButton) {
      options.push_back(static_cast<QRadioButton*>(widgets_.at(control.id)));
    }
  }
  auto update = [options] {
    for (QRadioButton* option : options) {
      option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
  };
  for (QRadioButton* option : options) connect(option, &QRadioButton::toggled, this, update);
  update();
}

}  // namespace quenzart

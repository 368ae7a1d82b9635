#pragma once

#include <QPointer>
#include <QWidget>

#include <map>

#include "panel/controls.h"
#include "panel/form1_view.h"
#include "platform/qt/about_window.h"

namespace quenzart {

class Form1;

// The main window built from its layout table. It forwards the clicks and its
// closing to the handlers and does nothing else of its own.
class Form1Window final : public QWidget, public Form1View {
 public:
  Form1Window();
  ~Form1Window() override;

  void Connect(Form1& form);
  // Shows the window centred, with the focus in the first field.
  void ShowCentred();
  // Once the program is ending, closing runs no handler.
  void SetEnding() { ending_ = true; }

  QWidget* Widget(ControlId id) const { return widgets_.at(id); }
  AboutWindow* About() const { return about_; }

  std::u16string Text(ControlId textBox) const override;
  void SetText(ControlId textBox, std::u16string_view text) override;
  bool IsSelected(ControlId option) const override;
  void Select(ControlId option) override;
  void SetEnabled(ControlId button, bool enabled) override;
  void SetCaption(ControlId label, std::u16string_view caption) override;
  void SetSelection(ControlId textBox, std::size_t start, std::size_t length) override;
  void ShowAboutWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void KeepOneTabStopPerOptionGroup();

  std::map<ControlId, QWidget*> widgets_;
  Form1* form_ = nullptr;
  QPointer<AboutWindow> about_;
  bool ending_ = false;
};

}  // namespace quenzart

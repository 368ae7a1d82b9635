#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>
#include <map>
#include <vector>

#include "panel/layout.h"
#include "platform/qt/qt_text.h"

namespace quenzart {

// The panel's font: 宋体 where it is installed, else a Song-style CJK font of
// the same kind, in the given size.
QFont PanelFont(double points, bool bold = false);

// Centres a top-level window on the screen it will be shown on.
void CentreOnScreen(QWidget& window);

// Turns a window's layout table into widgets: kinds, captions, geometry,
// fonts, states and the tab order of the table. Returns the widgets by id.
template <typename Id>
std::map<Id, QWidget*> BuildControls(QWidget& window, const WindowLayoutOf<Id>& layout) {
  std::map<Id, QWidget*> widgets;
  window.setWindowTitle(ToQString(layout.caption));
  if (layout.fontPoints > 0) window.setFont(PanelFont(layout.fontPoints));

  for (const ControlLayoutOf<Id>& control : layout.controls) {
    QWidget* parent = control.container ? widgets.at(*control.container) : &window;
    QWidget* widget = nullptr;
    const QString caption = ToQString(control.caption);
    switch (control.kind) {
      case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        if (control.highlight) {
          QPalette palette = label->palette();
          palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
          label->setPalette(palette);
        }
        widget = label;
        break;
      }
      case ControlKind::TextBox:
        // The default text goes in below, once the box has its own font: laid
        // out in the window's font first, it would be shaped twice.
        if (control.multiLine) {
          auto* box = new QPlainTextEdit(parent);
          box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
          box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
          box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
          box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
          box->setTabChangesFocus(true);
          widget = box;
        } else {
          auto* box = new QLineEdit(parent);
          if (control.centred) box->setAlignment(Qt::AlignCenter);
          widget = box;
        }
        break;
      case ControlKind::Frame:
        widget = new QGroupBox(caption, parent);
        break;
      case ControlKind::OptionButton: {
        auto* option = new QRadioButton(caption, parent);
        option->setChecked(control.selected);
        widget = option;
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(caption, parent);
        // Enter and Esc click no button.
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
      }
    }
    widget->setObjectName(control.index >= 0
                              ? QString("%1(%2)")
                                    .arg(QLatin1String(control.name.data(), control.name.size()))
                                    .arg(control.index)
                              : QLatin1String(control.name.data(), control.name.size()));
    widget->setGeometry(control.left / kTwipsPerPixel, control.top / kTwipsPerPixel,
                        control.width / kTwipsPerPixel, control.height / kTwipsPerPixel);
    if (control.fontPoints > 0) widget->setFont(PanelFont(control.fontPoints, control.bold));
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
      box->setPlainText(caption);
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
      box->setText(caption);
    }
    widget->setEnabled(control.enabled);
    widgets.emplace(control.id, widget);
  }

  // Captions are laid out for 宋体's narrow Latin letters; where the font in use
  // needs more room, a label or option button may grow to the right into free
  // space of its container, never over another control.
  for (const ControlLayoutOf<Id>& control : layout.controls) {
    if (control.kind != ControlKind::Label && control.kind != ControlKind::OptionButton) continue;
    // An empty caption needs no room: its size hint would only load its font.
    if (control.caption.empty()) continue;
    QWidget* widget = widgets.at(control.id);
    int room = control.container ? widgets.at(*control.container)->width() * kTwipsPerPixel
                                 : layout.clientWidth;
    for (const ControlLayoutOf<Id>& other : layout.controls) {
      const bool sameContainer = other.container == control.container && other.id != control.id;
      const bool overlapsRows =
          other.top < control.top + control.height && control.top < other.top + other.height;
      if (sameContainer && overlapsRows && other.left >= control.left + control.width) {
        room = std::min(room, other.left);
      }
    }
    const int available = (room - control.left) / kTwipsPerPixel - 2;
    const int needed = widget->sizeHint().width();
    if (needed > widget->width()) widget->resize(std::min(needed, available), widget->height());
  }

  std::vector<const ControlLayoutOf<Id>*> inTabOrder;
  for (const ControlLayoutOf<Id>& control : layout.controls) {
    if (control.kind != ControlKind::Label && control.kind != ControlKind::Frame) {
      inTabOrder.push_back(&control);
    }
  }
  std::sort(inTabOrder.begin(), inTabOrder.end(),
            [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
  for (std::size_t i = 1; i < inTabOrder.size(); ++i) {
    QWidget::setTabOrder(widgets.at(inTabOrder[i - 1]->id), widgets.at(inTabOrder[i]->id));
  }

  const QSize client(layout.clientWidth / kTwipsPerPixel, layout.clientHeight / kTwipsPerPixel);
  if (layout.sizable) {
    window.resize(client);
  } else {
    window.setFixedSize(client);
  }
  return widgets;
}

}  // namespace quenzart

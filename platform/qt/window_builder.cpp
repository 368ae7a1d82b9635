#include "platform/qt/window_builder.h"

#include <QGuiApplication>
#include <QScreen>

namespace quenzart {

QFont PanelFont(double points, bool bold) {
  QFont font;
  font.setFamilies({ToQString(kPanelFontFamily), QStringLiteral("SimSun"),
                    QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
  font.setPointSizeF(points);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  window.move(available.center() - QPoint(window.width() / 2, window.height() / 2));
}

}  // namespace quenzart

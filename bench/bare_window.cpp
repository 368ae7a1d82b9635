// The floor of the start-up and memory figures: a bare window of the panel's
// client size showing one label in the panel's font, and nothing else, with
// the same watch as the panel.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include "bench/first_paint.h"

using quenzart::bench::WatchFirstPaint;
Q_COREAPP_STARTUP_FUNCTION(WatchFirstPaint)

int main(int argc, char** argv) {
  quenzart::bench::WindowRunOptions& options = quenzart::bench::ParseWindowRunOptions(argc, argv);
  QApplication application(options.qtArgumentCount, options.qtArguments.data());
  QWidget window;
  window.resize(646, 510);
  QLabel label(QStringLiteral("服务器名"), &window);
  QFont font;
  font.setFamilies(
      {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")});
  font.setPointSizeF(10.5);
  label.setFont(font);
  label.move(16, 24);
  window.show();
  return application.exec();
}

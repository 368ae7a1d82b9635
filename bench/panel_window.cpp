// The panel exactly as app/main.cpp runs it, through RunPanel, with a watch
// installed when its application is constructed that ends the program after
// the first paint of its main window.

#include <QCoreApplication>

#include "bench/first_paint.h"
#include "platform/qt/application.h"

using quenzart::bench::WatchFirstPaint;
Q_COREAPP_STARTUP_FUNCTION(WatchFirstPaint)

int main(int argc, char** argv) {
  quenzart::bench::WindowRunOptions& options = quenzart::bench::ParseWindowRunOptions(argc, argv);
  return quenzart::RunPanel(options.qtArgumentCount, options.qtArguments.data());
}

#include "platform/qt/application.h"

#include <QApplication>
#include <QIcon>
#include <QSocketNotifier>

#include <unistd.h>

#include "panel/form1.h"
#include "platform/native_platform.h"
#include "platform/qt/chinese_translation.h"
#include "platform/qt/form1_window.h"
#include "platform/qt/qt_program_control.h"

namespace quenzart {

struct PanelProgram::Parts {
  Parts()
      : program([this] { window.SetEnding(); }), native(program), form(window, native.platform()) {}

  Form1Window window;
  QtProgramControl program;
  NativePlatform native;
  Form1 form;
  std::unique_ptr<QSocketNotifier> termination;
};

PanelProgram::PanelProgram() : parts_(std::make_unique<Parts>()) {
  Parts& parts = *parts_;
  parts.program.SetMessageParent(&parts.window);
  parts.window.Connect(parts.form);

  // A request of the system to end the program runs the closing of the window.
  const int descriptor = TerminationRequestDescriptor();
  if (descriptor >= 0) {
    parts.termination = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    QObject::connect(parts.termination.get(), &QSocketNotifier::activated, &parts.window,
                     [&parts, descriptor] {
                       char drained[64];
                       while (read(descriptor, drained, sizeof drained) > 0) {
                       }
                       parts.form.Unload();
                     });
  }
  parts.form.Load();
}

PanelProgram::~PanelProgram() = default;

void PanelProgram::Show() {
  parts_->window.ShowCentred();
}
Form1Window& PanelProgram::window() {
  return parts_->window;
}

int RunPanel(int argc, char** argv) {
  QApplication application(argc, argv);
  InstallChineseTranslation(application);
  QIcon icon;
  for (const char* size : {"16", "32", "48"}) {
    icon.addFile(QStringLiteral(":/icons/%1/quenzartsrv-gui.png").arg(QLatin1String(size)));
  }
  QApplication::setWindowIcon(icon);
  PanelProgram panel;
  panel.Show();
  return application.exec();
}

}  // namespace quenzart

#include "platform/qt/qt_program_control.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace quenzart {

void QtProgramControl::ReportFailure(std::u16string_view message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("QuenzartServer GUI"), ToQString(message),
                  QMessageBox::Ok, parent_);
  box.exec();
}

void QtProgramControl::EndProgram() {
  if (onEnd_) onEnd_();
  QApplication::closeAllWindows();
  QCoreApplication::exit(0);
}

}  // namespace quenzart

#pragma once

class QCoreApplication;

namespace quenzart {

// Qt's own texts (message box buttons, the edit boxes' context menus) in
// Simplified Chinese, whatever the system's language.
void InstallChineseTranslation(QCoreApplication& application);

}  // namespace quenzart

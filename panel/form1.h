#pragma once

#include <string>
#include <string_view>

#include "panel/form1_view.h"
#include "platform/platform.h"
#include "settings/panel_settings.h"

namespace quenzart {

// The main window's logic: its flag and its event handlers, over a view of its
// controls and the platform. Every handler runs to its end or stops at the
// first failing platform operation, which it shows to the operator.
class Form1 {
 public:
  Form1(Form1View& view, Platform& platform);

  // Before the window is first shown: the local address, then the settings of
  // the last Start when a saved-settings file is there.
  void Load();
  // The window is being closed; runs as Exit does.
  void Unload();

  void command1_Click();  // 服务启动: write both files, launch the server
  void command2_Click();  // 服务停止: stop the server
  void Command3_Click();  // 关于: show the About window
  void command4_Click();  // 退出: stop a running server and end the program
  void Command5_Click();  // 查看服务器状态: open the status page

  // The panel's own record of having started the server and not yet stopped it.
  bool ServerRunning = false;

 private:
  PanelSettings ReadSettings() const;
  void EnterRunningState();
  void EnterStoppedState();
  void EndProgram();
  std::u16string GetFromINI(std::u16string_view AppName, std::u16string_view KeyName);
  std::u16string SavedSettingsPath();

  Form1View& view_;
  Platform& platform_;
  bool ending_ = false;
};

}  // namespace quenzart

#pragma once

#include <memory>

namespace quenzart {

class Form1Window;

// The panel as the program runs it: the native platform, the main window and
// its handlers, wired together, with the window loaded but not yet shown.
// Needs a QApplication.
class PanelProgram {
 public:
  PanelProgram();
  ~PanelProgram();
  PanelProgram(const PanelProgram&) = delete;
  PanelProgram& operator=(const PanelProgram&) = delete;

  // Shows the main window centred on the screen, focus in the first field.
  void Show();
  Form1Window& window();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// Creates the application, runs the panel until it ends, returns the exit code.
int RunPanel(int argc, char** argv);

}  // namespace quenzart

#include "platform/qt/application.h"

int main(int argc, char** argv) {
  return quenzart::RunPanel(argc, argv);
}

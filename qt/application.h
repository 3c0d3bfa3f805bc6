#pragma once

#include <QApplication>

#include <array>

namespace tolvex {

// The program takes no command line. Qt would read options such as -reverse,
// -qwindowtitle TEXT or -stylesheet FILE from it, so Qt is given the program
// name alone; its environment variables (QT_QPA_PLATFORM, scaling) still apply.
class Application {
  public:
    Application(int argc, char* argv[]);

  private:
    int argc_ = 1;              // QApplication keeps a reference to the count
    std::array<char*, 2> argv_; // the program name and the closing null pointer
    QApplication app_;
};

} // namespace tolvex

#include "application.h"
#include "coil_window.h"

int main(int argc, char* argv[]) {
    tolvex::Application app(argc, argv);
    // A Wayland desktop finds the window's icon and name in the desktop entry
    // of this name; without it the window is an unknown "tolvex".
    QGuiApplication::setDesktopFileName(QStringLiteral(TOLVEX_APP_ID));
    tolvex::CoilWindow window;
    window.show();
    return QApplication::exec();
}

#include "application.h"
#include "coil_window.h"

int main(int argc, char* argv[]) {
    tolvex::Application app(argc, argv);
    tolvex::CoilWindow window;
    window.show();
    return QApplication::exec();
}

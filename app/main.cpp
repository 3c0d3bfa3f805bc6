#include "coil_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tolvex::CoilWindow window;
    window.show();
    return QApplication::exec();
}

// Starts a window, shows it, and quits at the first idle moment, so that
// whole-process time and peak memory can be compared with a bare Qt window.
// Built three times: TOLVEX_BARE_WINDOW an empty QWidget; TOLVEX_TEXT_WINDOW a
// window with one label, the least any window that shows text loads (fonts,
// shaping, glyph rendering); otherwise the Tolvex window.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#if !defined(TOLVEX_BARE_WINDOW) && !defined(TOLVEX_TEXT_WINDOW)
#include "coil_window.h"
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
#if defined(TOLVEX_BARE_WINDOW) || defined(TOLVEX_TEXT_WINDOW)
    QWidget window;
    window.resize(419, 379);
#ifdef TOLVEX_TEXT_WINDOW
    QLabel label(QStringLiteral("Coil Design"), &window);
#endif
#else
    tolvex::CoilWindow window;
#endif
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}

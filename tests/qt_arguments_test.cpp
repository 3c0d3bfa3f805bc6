// Started with Qt's own command-line options, the window is that of a plain start.
#include "application.h"
#include "coil_window.h"

#include <QDir>
#include <QFile>
#include <QWindow>
#include <QtTest>

#include <array>

namespace {

const QString kTitle = QStringLiteral("Coil Design   Orvik");

class ArgumentsTest : public QObject {
    Q_OBJECT

  private slots:
    void qtOptionsChangeNothing() {
        tolvex::CoilWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), kTitle);
        QCOMPARE(window.windowHandle()->title(), kTitle); // -qwindowtitle names the first window
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight); // -reverse
        QCOMPARE(window.layoutDirection(), Qt::LeftToRight);
        QVERIFY(qApp->styleSheet().isEmpty()); // -stylesheet FILE
        QCOMPARE(QCoreApplication::arguments().size(), 1);
    }
};

} // namespace

int main(int, char*[]) {
    const QString sheet = QDir::temp().filePath(QStringLiteral("tolvex-arguments-test.qss"));
    QFile file(sheet);
    if (!file.open(QIODevice::WriteOnly) || file.write("QWidget { font-size: 40px; }") < 0)
        return 2;
    file.close();
    QByteArray sheetPath = sheet.toLocal8Bit();
    std::array<char*, 8> argv = {const_cast<char*>("tolvex"),        const_cast<char*>("-reverse"),
                                 const_cast<char*>("-qwindowtitle"), const_cast<char*>("Changed"),
                                 const_cast<char*>("-stylesheet"),   sheetPath.data(),
                                 const_cast<char*>("-nograb"),       nullptr};
    int status = 0;
    {
        tolvex::Application app(static_cast<int>(argv.size()) - 1, argv.data());
        ArgumentsTest test;
        status = QTest::qExec(&test);
    }
    QFile::remove(sheet);
    return status;
}

#include "qt_arguments_test.moc"

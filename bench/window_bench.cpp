// The real window with megabyte texts, each step with the layout and repaint
// that follow it. Targets: a click after a megabyte paste into every input
// field under 50 ms; a megabyte paste without spaces into Results, and one
// keystroke after it, each under 0.2 s; Generate Values with a megabyte unit
// text without spaces (11 MB of table) under 3 s. Runs offscreen unless a
// platform is set.
#include "coil_window.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace {

void ClickAfterMegabytePaste(benchmark::State& state, const char* button) {
    tolvex::CoilWindow window;
    window.SetFailureReporter([](const tolvex::ActionStop&) { std::abort(); });
    window.show();
    const QString blanks(1 << 20, QLatin1Char(' '));
    const std::pair<const char*, const char*> fields[] = {
        {"Ind", "10"}, {"FormDia", "20"}, {"WireDia", "0.5"}, {"Turns", "10"}, {"Length", "10"}};
    for (auto [name, value] : fields)
        window.findChild<QLineEdit*>(QString::fromLatin1(name))
            ->setText(blanks + QLatin1String(value));
    auto* target = window.findChild<QPushButton*>(QString::fromLatin1(button));
    // Qt lays out and paints the pasted text once; that is the paste, not the click.
    QApplication::processEvents();
    target->click();
    QApplication::processEvents();
    for (auto _ : state) {
        target->click();
        QApplication::processEvents();
    }
}

void GenerateValues(benchmark::State& state) {
    ClickAfterMegabytePaste(state, "GO");
}
void CalculateInductance(benchmark::State& state) {
    ClickAfterMegabytePaste(state, "CalcInd");
}
BENCHMARK(GenerateValues)->Unit(benchmark::kMillisecond);
BENCHMARK(CalculateInductance)->Unit(benchmark::kMillisecond);

const QString& MegabyteWithoutSpaces() {
    static const QString text(1 << 20, QLatin1Char('x'));
    return text;
}

// Seconds a step takes, until the window has laid out and painted what it did.
template <typename Step> double SecondsFor(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    QApplication::processEvents();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void TypeOneKey(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void PasteWithoutSpacesIntoResults(benchmark::State& state) {
    for (auto _ : state) {
        tolvex::CoilWindow window;
        window.show();
        auto* results = window.findChild<QPlainTextEdit*>(QStringLiteral("Results"));
        results->setFocus();
        QApplication::processEvents();
        const double paste = SecondsFor([&] { results->insertPlainText(MegabyteWithoutSpaces()); });
        const double key = SecondsFor([&] { TypeOneKey(results); });
        state.SetIterationTime(paste + key);
        state.counters["paste_s"] = paste;
        state.counters["keystroke_s"] = key;
    }
}
BENCHMARK(PasteWithoutSpacesIntoResults)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void GenerateValuesWithMegabyteUnit(benchmark::State& state) {
    for (auto _ : state) {
        tolvex::CoilWindow window;
        window.SetFailureReporter([](const tolvex::ActionStop&) { std::abort(); });
        window.show();
        window.findChild<QComboBox*>(QStringLiteral("IndUnits"))
            ->setEditText(MegabyteWithoutSpaces());
        window.findChild<QLineEdit*>(QStringLiteral("Ind"))->setText(QStringLiteral("1000000"));
        QApplication::processEvents();
        auto* go = window.findChild<QPushButton*>(QStringLiteral("GO"));
        state.SetIterationTime(SecondsFor([&] { go->click(); }));
    }
}
BENCHMARK(GenerateValuesWithMegabyteUnit)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// CPU time per second while the window sits idle with the cursor blinking in
// a focused box that holds a megabyte without spaces: each blink repaints the box.
void IdleWithFocusedMegabyte(benchmark::State& state, const char* box) {
    tolvex::CoilWindow window;
    window.show();
    QLineEdit* edit = std::string_view(box) == "IndUnits"
                          ? window.findChild<QComboBox*>(QStringLiteral("IndUnits"))->lineEdit()
                          : window.findChild<QLineEdit*>(QString::fromLatin1(box));
    edit->setText(MegabyteWithoutSpaces());
    edit->setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        const std::clock_t cpuStart = std::clock();
        QEventLoop idle;
        QTimer::singleShot(2000, &idle, &QEventLoop::quit);
        idle.exec();
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        state.SetIterationTime(cpu / 2.0);
        state.counters["cpu_per_s"] = cpu / 2.0;
    }
}
BENCHMARK_CAPTURE(IdleWithFocusedMegabyte, IndUnits, "IndUnits")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IdleWithFocusedMegabyte, IndRes, "IndRes")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

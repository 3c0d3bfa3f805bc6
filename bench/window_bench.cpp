// Clicks on the real window after a megabyte paste into every input field,
// with the repaint that follows: the target is a click in under 50 ms. Runs
// offscreen unless a platform is set.
#include "coil_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void ClickAfterMegabytePaste(benchmark::State& state, const char* button) {
    tolvex::CoilWindow window;
    window.SetFailureReporter(
        [](const QString&, const tolvex::ArithmeticFailure&) { std::abort(); });
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

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

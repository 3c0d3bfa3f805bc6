// Both actions on the worked examples; the target is GO_Click <= 10 us median.
#include "window/actions.h"

#include <benchmark/benchmark.h>

namespace {

tolvex::CoilFields StartedFields() {
    tolvex::CoilFields fields;
    tolvex::Form_Load(fields);
    return fields;
}

void GoClickTenMicrohenries(benchmark::State& state) {
    tolvex::CoilFields fields = StartedFields();
    fields.Ind = "10";
    for (auto _ : state) {
        tolvex::GO_Click(fields);
        benchmark::DoNotOptimize(fields.Results.data());
    }
}
BENCHMARK(GoClickTenMicrohenries);

void CalcIndClickTenTurns(benchmark::State& state) {
    tolvex::CoilFields fields = StartedFields();
    fields.Turns = "10";
    fields.Length = "10";
    for (auto _ : state) {
        tolvex::CalcInd_Click(fields);
        benchmark::DoNotOptimize(fields.IndRes.data());
    }
}
BENCHMARK(CalcIndClickTenTurns);

} // namespace

BENCHMARK_MAIN();

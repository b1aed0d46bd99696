// Reading the demo board's 3.9 MB board file, every footprint with its pads and body: the
// target is 150 ms.

#include "boardfile/KicadBoardReader.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kavelto;

void ReadDemoBoardFile(benchmark::State& state) {
    std::size_t footprints = 0;
    for (auto _ : state) {
        const auto read = ReadKicadBoardFile(DEMO_DIR "/coldfire.kicad_pcb");
        if (!read) {
            state.SkipWithError("the demo board file can't be read");
            return;
        }
        footprints = read->size();
        benchmark::DoNotOptimize(footprints);
    }
    state.counters["footprints"] = static_cast<double>(footprints);
}

BENCHMARK(ReadDemoBoardFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

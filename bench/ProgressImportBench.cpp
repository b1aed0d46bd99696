#include "TempFile.h"
#include "bom/ProgressReader.h"
#include "session/AssemblySession.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace kavelto;

std::string Designator(int i) {
    static const char* const kPrefixes[] = {"R", "C", "U", "LED", "TP"};
    return kPrefixes[i % 5] + std::to_string(i);
}

// A board of the most parts a placement file loads, both faces.
std::string PlacementText() {
    std::string text = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int i = 0; i < kMaxParts; ++i)
        text += Designator(i) + ",10k,0603," + std::to_string(i % 100) + ',' +
                std::to_string(i / 100) + ",0," + (i % 4 == 0 ? "bottom" : "top") + '\n';
    return text;
}

// Its progress as the export writes it, in reverse order, every part placed at a time.
std::string ProgressText() {
    std::string text = "Designator,Face,Value,Package,Placed,Time placed\n";
    for (int i = kMaxParts - 1; i >= 0; --i)
        text += Designator(i) + ',' + (i % 4 == 0 ? "bottom" : "top") +
                ",10k,0603,yes,2026-12-07T16:55:02Z\n";
    return text;
}

// Reading back the progress of a full board and marking every part of it placed; the size of
// its kept session then.
void BM_ImportProgress5000(benchmark::State& state) {
    AssemblySession session;
    const TempFile columns("1\n,\n1,5,6,3,4,7,2\n");
    const TempFile parts(PlacementText());
    const TempFile progress(ProgressText());
    if (session.loadColumnMap(columns.path()))
        session.loadPlacementFile(parts.path());
    if (session.table().partCount() != kMaxParts) {
        state.SkipWithError("board not loaded");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        session.unplaceAll();
        state.ResumeTiming();
        const Result<std::vector<ProgressMark>> marks = ReadProgressFile(progress.path());
        if (!marks) {
            state.SkipWithError("progress not read");
            break;
        }
        benchmark::DoNotOptimize(session.markPlaced(marks.value()));
    }
    const KeptSession kept = session.keptState();
    if (kept.placed.size() != std::size_t(kMaxParts))
        state.SkipWithError("not every part marked");
    // What keeping a board of 5000 parts, all placed, writes at each change.
    state.counters["kept_bytes"] = double(KeptSessionText(kept).size());
}
BENCHMARK(BM_ImportProgress5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

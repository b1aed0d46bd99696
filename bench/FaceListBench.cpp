#include "parts/FaceSorting.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <utility>

namespace {

using namespace kavelto;

// A full board on one face: a few dozen kinds of part under a handful of prefixes, in no
// particular file order, so that ties are rare but kinds repeat.
std::unique_ptr<PartTable> MakeBoard() {
    const char* const prefixes[] = {"C", "R", "U", "L", "D", "Q", "J", "FB"};
    const char* const packages[] = {"0402", "0603", "0805", "1206", "SOT-23", "SOIC-8", "QFN-32"};
    const char* const values[] = {"100n", "10k", "1u", "4k7", "22p", "BAT54", "LM358", "10u"};
    std::mt19937 random(42);
    const auto pick = [&](int size) {
        return std::uniform_int_distribution<int>(0, size - 1)(random);
    };
    auto table = std::make_unique<PartTable>();
    while (!table->isFull()) {
        PartRecord part;
        part.prefix = prefixes[pick(8)];
        part.partId = static_cast<std::uint16_t>(1 + pick(2000));
        part.package = packages[pick(7)];
        part.value = values[pick(8)];
        part.layer = 'T';
        table->append(std::move(part));
    }
    return table;
}

void BM_FilterSortAndNumber(benchmark::State& state) {
    static const std::unique_ptr<PartTable> board = MakeBoard();
    const auto mode = static_cast<SortMode>(state.range(0));
    auto list = std::make_unique<FaceList>();
    auto items = std::make_unique<ItemNumbers>();
    for (auto _ : state) {
        FilterAndSortFace(*board, Face::Top, mode, *list);
        NumberItems(*board, *list, *items);
        benchmark::DoNotOptimize(items->data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * list->faceCount);
}

BENCHMARK(BM_FilterSortAndNumber)
    ->ArgName("mode")
    ->DenseRange(0, kSortModeCount - 1)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

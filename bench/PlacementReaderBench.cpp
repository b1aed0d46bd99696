#include "placement/ColumnMap.h"
#include "placement/PlacementReader.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <unistd.h>

// Counts heap allocations: a load makes its table grow, and keeps each text too long to stand
// inside its string on the heap.
std::atomic<long> gAllocations{0};

void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace kavelto;

// A full table's worth of lines in the CSV layout that board design tools export, read by the
// three classic lines or by its own name row.
class PlacementFile {
public:
    PlacementFile() {
        char pattern[] = "/tmp/kavelto-bench-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd >= 0)
            close(fd);
        path_ = pattern;
        std::ofstream out(path_, std::ios::binary);
        out << "Ref,Val,Package,PosX,PosY,Rot,Side\n";
        const char* packages[] = {"C_0805_2012Metric", "R_0603_1608Metric", "SOIC-8_3.9x4.9mm"};
        for (int i = 0; i < kMaxParts; ++i) {
            out << "\"" << (i % 2 ? "R" : "C") << i << "\",\"" << (i % 7) * 10 << "k\",\""
                << packages[i % 3] << "\"," << 100.0 + i * 0.127 << "," << -50.0 - i * 0.061 << ","
                << (i % 4) * 90 << ".000000," << (i % 5 ? "top" : "bottom") << "\n";
        }
        map_.headerLines = 1;
        const FieldCode codes[] = {FieldCode::Designator, FieldCode::Value, FieldCode::Package,
                                   FieldCode::X,          FieldCode::Y,     FieldCode::Rotation,
                                   FieldCode::Layer};
        for (int column = 0; column < kColumnCount; ++column) {
            map_.columnCodes[column] = codes[column];
            map_.columnOfField[codes[column]] = column;
        }
        map_.fieldCount = kColumnCount;
    }
    ~PlacementFile() { std::remove(path_.c_str()); }

    const std::string& path() const { return path_; }
    const ColumnMap& map(bool byName) const { return byName ? byName_ : map_; }

private:
    std::string path_;
    ColumnMap map_;
    ColumnMap byName_{0, true};
};

void ReadFullPlacementFile(benchmark::State& state, bool byName) {
    const PlacementFile file;
    const long before = gAllocations;
    for (auto _ : state) {
        const Result<PlacementParts> result = ReadPlacementFile(file.path(), file.map(byName));
        if (!result || result->table.partCount() != kMaxParts)
            state.SkipWithError("the file did not load whole");
        benchmark::DoNotOptimize(result);
    }
    state.counters["allocations/load"] =
        static_cast<double>(gAllocations - before) / static_cast<double>(state.iterations());
}
BENCHMARK_CAPTURE(ReadFullPlacementFile, classic, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadFullPlacementFile, byName, true)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

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

const char* const kPackages[] = {"C_0805_2012Metric", "R_0603_1608Metric", "SOIC-8_3.9x4.9mm"};

// A full table's worth of lines in the CSV layout that board design tools export, read by the
// three classic lines or by its own name row; or, listed, in the layout of pcb-rnd's gxyrs
// template (single blanks, a Type named but not written, every fifth value empty), by its names.
class PlacementFile {
public:
    explicit PlacementFile(bool listed = false) {
        char pattern[] = "/tmp/kavelto-bench-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd >= 0)
            close(fd);
        path_ = pattern;
        std::ofstream out(path_, std::ios::binary);
        if (listed)
            writeListed(out);
        else
            writeCsv(out);
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
    static void writeCsv(std::ofstream& out) {
        out << "Ref,Val,Package,PosX,PosY,Rot,Side\n";
        for (int i = 0; i < kMaxParts; ++i) {
            out << "\"" << (i % 2 ? "R" : "C") << i << "\",\"" << (i % 7) * 10 << "k\",\""
                << kPackages[i % 3] << "\"," << 100.0 + i * 0.127 << "," << -50.0 - i * 0.061 << ","
                << (i % 4) * 90 << ".000000," << (i % 5 ? "top" : "bottom") << "\n";
        }
    }

    static void writeListed(std::ofstream& out) {
        out << "#Designator X-Loc Y-Loc Rotation Side Type X-Size Y-Size Value Footprint\n";
        for (int i = 0; i < kMaxParts; ++i) {
            out << (i % 2 ? "R" : "C") << i << " " << 100.0 + i * 0.127 << " " << -50.0 - i * 0.061
                << " " << (i % 4) * 90 << " " << (i % 5 ? "top" : "bottom") << " 63.00 31.50 "
                << (i % 5 ? std::to_string((i % 7) * 10) + "k" : "") << " " << kPackages[i % 3]
                << "\n";
        }
    }

    std::string path_;
    ColumnMap map_;
    ColumnMap byName_{0, true};
};

void ReadFullPlacementFile(benchmark::State& state, bool byName, bool listed) {
    const PlacementFile file(listed);
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
BENCHMARK_CAPTURE(ReadFullPlacementFile, classic, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadFullPlacementFile, byName, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadFullPlacementFile, byNameListed, true, true)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

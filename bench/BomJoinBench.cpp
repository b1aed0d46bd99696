#include "bom/BomJoin.h"
#include "bom/BomReader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace kavelto;

// A full table of parts named as boards name them, R1 to R5000 across a few prefixes.
std::string Designator(int i) {
    static const char* const kPrefixes[] = {"R", "C", "U", "LED", "TP"};
    return kPrefixes[i % 5] + std::to_string(i);
}

std::unique_ptr<PartTable> MakeFullTable() {
    auto table = std::make_unique<PartTable>();
    for (int i = 0; i < kMaxParts; ++i) {
        PartRecord record;
        record.designator = Designator(i);
        record.value = "10k";
        record.package = "0603";
        table->append(std::move(record));
    }
    return table;
}

// One BOM line a part, in reverse order, so that no line finds its part by luck.
BomTable MakeOnePerRowBom() {
    BomTable bom;
    for (int i = kMaxParts - 1; i >= 0; --i) {
        BomLine line;
        line.designators = {Designator(i)};
        line.quantity = 1;
        line.mpn = "RC0603FR-0710KL";
        bom.lines.push_back(std::move(line));
    }
    return bom;
}

const PartTable& Table() {
    static const std::unique_ptr<PartTable> table = MakeFullTable();
    return *table;
}

void BM_JoinBom5000(benchmark::State& state) {
    const BomTable bom = MakeOnePerRowBom();
    for (auto _ : state)
        benchmark::DoNotOptimize(JoinBom(bom, Table()));
}
BENCHMARK(BM_JoinBom5000)->Unit(benchmark::kMillisecond);

// Reading a 5000-part BOM grouped by fifty designators a line, then joining it.
void BM_ReadAndJoinBom5000(benchmark::State& state) {
    char path[] = "/tmp/kavelto-bench-bom-XXXXXX";
    ::close(::mkstemp(path));
    {
        std::ofstream out(path);
        out << "\"Reference\",\"Qty\",\"Value\",\"Footprint\",\"MPN\",\"DNP\"\n";
        for (int line = 0; line < kMaxParts / 50; ++line) {
            out << '"';
            for (int k = 0; k < 50; ++k)
                out << (k ? ", " : "") << Designator(line * 50 + k);
            out << "\",\"50\",\"10k\",\"R_0603\",\"RC0603FR-0710KL\",\"\"\n";
        }
    }
    for (auto _ : state) {
        const Result<BomTable> bom = ReadBomFile(path);
        if (!bom) {
            state.SkipWithError("BOM not read");
            break;
        }
        benchmark::DoNotOptimize(JoinBom(bom.value(), Table()));
    }
    std::remove(path);
}
BENCHMARK(BM_ReadAndJoinBom5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

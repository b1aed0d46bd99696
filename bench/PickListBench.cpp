#include "PickList.h"
#include "PickListPage.h"
#include "PickListText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

using namespace kavelto;

// A full table of parts in runs of one to eleven, as a sorted face list shows them, with
// Latin-1 and HTML-special bytes in some values so that every rendering path is taken.
std::unique_ptr<PartTable> MakeFullTable() {
    static const char* const kPackages[] = {"0402", "0603", "0805", "SOT23", "SOIC8", "QFN32"};
    static const char* const kValues[] = {"10k",
                                          "4.7\xB5"
                                          "F",
                                          "<1%",
                                          "100n",
                                          "BC847 & BC857",
                                          "1k5"};
    auto table = std::make_unique<PartTable>();
    int kind = 0;
    for (int i = 0; i < kMaxParts; ++kind) {
        const int run = 1 + kind % 11;
        for (int k = 0; k < run && i < kMaxParts; ++k, ++i) {
            PartRecord record;
            record.package = kPackages[kind % 6];
            record.value = kValues[kind % 6] + ("-" + std::to_string(kind));
            table->append(std::move(record));
        }
    }
    return table;
}

std::unique_ptr<FaceList> MakeFullFaceList() {
    auto faces = std::make_unique<FaceList>();
    for (int i = 0; i < kMaxParts; ++i)
        faces->indexes[i] = i;
    faces->faceCount = kMaxParts;
    return faces;
}

const PartTable& Table() {
    static const std::unique_ptr<PartTable> table = MakeFullTable();
    return *table;
}

const FaceList& Faces() {
    static const std::unique_ptr<FaceList> faces = MakeFullFaceList();
    return *faces;
}

const char* const kSite = "www.example.com";
constexpr std::uint32_t kPcbCount = 25;

// A private directory for the written page, removed with its page at the end.
class PageDirectory {
public:
    PageDirectory() {
        char pattern[] = "/tmp/kavelto-bench-XXXXXX";
        if (::mkdtemp(pattern) != nullptr)
            dir_ = pattern;
    }
    ~PageDirectory() {
        std::remove(path().c_str());
        ::rmdir(dir_.c_str());
    }
    PageDirectory(const PageDirectory&) = delete;
    PageDirectory& operator=(const PageDirectory&) = delete;

    bool ok() const { return !dir_.empty(); }
    std::string path() const { return dir_ + "/picklst.html"; }

private:
    std::string dir_;
};

void BM_GroupPickList(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(GroupPickList(Table(), Faces(), kPcbCount));
}
BENCHMARK(BM_GroupPickList);

void BM_PickListText(benchmark::State& state) {
    const std::vector<PickListItem> items = GroupPickList(Table(), Faces(), kPcbCount);
    for (auto _ : state)
        benchmark::DoNotOptimize(PickListText(items, Face::Top));
}
BENCHMARK(BM_PickListText);

void BM_PickListPage(benchmark::State& state) {
    const std::vector<PickListItem> items = GroupPickList(Table(), Faces(), kPcbCount);
    for (auto _ : state)
        benchmark::DoNotOptimize(PickListPage(items, Face::Top, kSite));
}
BENCHMARK(BM_PickListPage);

void BM_WritePickListPage(benchmark::State& state) {
    const PageDirectory directory;
    if (!directory.ok()) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string page =
        PickListPage(GroupPickList(Table(), Faces(), kPcbCount), Face::Top, kSite);
    for (auto _ : state) {
        if (!WritePickListPage(directory.path(), page)) {
            state.SkipWithError("page not written");
            break;
        }
    }
}
BENCHMARK(BM_WritePickListPage);

// The whole export of a full face: what the user waits for after pressing the button.
void BM_WholePickListExport(benchmark::State& state) {
    const PageDirectory directory;
    if (!directory.ok()) {
        state.SkipWithError("no temporary directory");
        return;
    }
    for (auto _ : state) {
        const std::vector<PickListItem> items = GroupPickList(Table(), Faces(), kPcbCount);
        benchmark::DoNotOptimize(PickListText(items, Face::Top));
        if (!WritePickListPage(directory.path(), PickListPage(items, Face::Top, kSite))) {
            state.SkipWithError("page not written");
            break;
        }
    }
}
BENCHMARK(BM_WholePickListExport)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();

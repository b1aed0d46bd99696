#include "KittingSheets.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>

#include <string>

namespace {

using namespace kavelto;

// The demo board's top picture, with the spots of each item spread over it as a calibration
// would place them.
SheetsPicture DemoPicture(const std::vector<PickListItem>& items) {
    SheetsPicture picture;
    picture.path = DEMO_DIR "/coldfire-top.jpg";
    const QSize size = QImageReader(QString::fromStdString(picture.path)).size();
    picture.size = {size.width(), size.height()};
    int spot = 0;
    for (const PickListItem& item : items) {
        std::vector<SheetSpot>& spots = picture.spots.emplace_back();
        for (int k = 1; k <= item.countPerBoard; ++k, ++spot)
            spots.push_back({k, {spot * 37 % size.width(), spot * 53 % size.height()}});
    }
    return picture;
}

// 150 items of one to twelve designators each, with part numbers and spares: a large board's
// face; with the thumbnails of a calibrated picture when asked.
SheetsRequest MakeRequest(const std::string& path, bool thumbnails) {
    SheetsRequest request;
    request.path = path;
    request.placementPath = "/boards/controller/controller-top.csv";
    request.date = "2026-12-07";
    request.pcbCount = 10;
    request.spares = true;
    int designator = 1;
    for (int i = 1; i <= 150; ++i) {
        PickListItem item{};
        item.itemNumber = i;
        item.package = i % 3 == 0 ? "R_0402_1005Metric" : "C_0603_1608Metric";
        item.value = std::to_string(i) + "k";
        item.countPerBoard = 1 + i % 12;
        item.totalCount = item.countPerBoard * 10;
        item.toGather = item.totalCount + 2;
        item.mpn = "RC0402FR-07" + std::to_string(i) + "KL";
        item.manufacturer = "Yageo";
        for (int k = 0; k < item.countPerBoard; ++k)
            item.designators.push_back("R" + std::to_string(designator++));
        request.items.push_back(std::move(item));
    }
    if (thumbnails)
        request.picture = DemoPicture(request.items);
    return request;
}

// The path the sheets of the last run are kept at, when the command line names one.
std::string keptPath;

// Argument 1 adds the thumbnails.
void BM_WriteSheets150(benchmark::State& state) {
    const QTemporaryDir dir;
    const bool thumbnails = state.range(0) != 0;
    const SheetsRequest request =
        MakeRequest(QDir(dir.path()).filePath("sheets.pdf").toStdString(), thumbnails);
    for (auto _ : state) {
        if (!KittingSheets::Write(request)) {
            state.SkipWithError("sheets not written");
            break;
        }
    }
    if (!keptPath.empty())
        KittingSheets::Write(MakeRequest(keptPath, thumbnails));
}
BENCHMARK(BM_WriteSheets150)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

// sheets_bench [benchmark flags] [KEPT.pdf]
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        keptPath = argv[1];
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "CPlacementDlg.h"
#include "FakePlatform.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <iterator>
#include <random>

using namespace kavelto;

namespace {

constexpr int kBoardParts = 5000;

// A full board in the demo layout: a mix of prefixes, packages and values in no particular
// order, about one part in ten on the bottom face.
QByteArray BoardFile() {
    const char* const prefixes[] = {"C", "R", "U", "L", "D", "Q", "J", "FB", "LED", "TP", "c"};
    const char* const packages[] = {"C_0402", "C_0603", "R_0805",  "SOT-23",
                                    "SOIC-8", "QFN-32", "TQFP-100"};
    const char* const values[] = {"100nF", "10k",   "1uF",  "4k7", "22pF",
                                  "BAT54", "LM358", "10uF", "0R"};
    std::mt19937 random(7);
    const auto pick = [&random](int size) {
        return std::uniform_int_distribution<int>(0, size - 1)(random);
    };
    QByteArray file = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int n = 1; n <= kBoardParts; ++n) {
        file += '"' + QByteArray(prefixes[pick(11)]) + QByteArray::number(n) + "\",\"" +
                values[pick(9)] + "\",\"" + packages[pick(7)] + "\"," +
                QByteArray::number(pick(20000) / 100.0, 'f', 6) + ',' +
                QByteArray::number(-pick(15000) / 100.0, 'f', 6) + ',' +
                QByteArray::number(90 * pick(4)) + ".000000," + (pick(10) == 0 ? "bottom" : "top") +
                '\n';
    }
    return file;
}

// The main window on the offscreen desktop, with the board file ready to be chosen.
class BoardWindow {
public:
    BoardWindow() : path_(dir_.filePath(QStringLiteral("board.csv"))), window_(platform_) {
        QFile file(path_);
        ready_ = file.open(QIODevice::WriteOnly) && file.write(BoardFile()) > 0 &&
                 window_.LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini"));
        file.close();
        window_.show();
        QCoreApplication::processEvents();
    }

    // The program closes its window before destroying it.
    ~BoardWindow() { window_.hide(); }

    bool ready() const { return ready_; }
    bool loadedWholeBoard() const {
        return window_.session().table().partCount() == kBoardParts && platform_.messages.empty();
    }

    void load() {
        platform_.files.push_back(path_);
        QTest::mouseClick(window_.findChild<QPushButton*>(QStringLiteral("loadPkp")),
                          Qt::LeftButton);
    }

    void sortBy(int entry) {
        window_.findChild<QComboBox*>(QStringLiteral("sortBy"))->setCurrentIndex(entry);
    }

private:
    QTemporaryDir dir_;
    QString path_;
    FakePlatform platform_;
    CPlacementDlg window_;
    bool ready_ = false;
};

template <typename Step> double SecondsFor(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Each iteration loads the board (which rebuilds the list in the first order) and then picks
// the other two orders and the first again. The counters split the time into the load with
// its rebuild and one rebuild alone; painting happens between iterations, untimed.
void LoadThenSortEachWay(benchmark::State& state, BoardWindow& window) {
    constexpr int kEntries[] = {1, 2, 0};
    double loadSeconds = 0.0;
    double rebuildSeconds = 0.0;
    for (auto _ : state) {
        loadSeconds += SecondsFor([&window] { window.load(); });
        for (const int entry : kEntries)
            rebuildSeconds += SecondsFor([&window, entry] { window.sortBy(entry); });
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (!window.loadedWholeBoard())
        state.SkipWithError("the board did not load whole");
    using benchmark::Counter;
    state.counters["load_rebuild_ms"] = Counter(loadSeconds * 1e3, Counter::kAvgIterations);
    state.counters["rebuild_ms"] =
        Counter(rebuildSeconds * 1e3 / std::size(kEntries), Counter::kAvgIterations);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BoardWindow window;
    if (!window.ready())
        return 1;
    benchmark::RegisterBenchmark("BM_LoadThenSortEachWay", [&window](benchmark::State& state) {
        LoadThenSortEachWay(state, window);
    })->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

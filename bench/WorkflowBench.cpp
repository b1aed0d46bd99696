#include "FakePlatform.h"
#include "Percentile.h"
#include "TruthBoard.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

using namespace kavelto;

namespace {

constexpr int kFaceParts = 5000;
constexpr int kPartsPerKind = 10; // so that every tenth step announces a new part
constexpr int kColumns = 100;
constexpr QSize kPictureSize(6000, 4000);

// The board is a grid of parts one millimetre apart; on the picture a millimetre is this many
// pixels from this origin, which is where the calibration presses land.
constexpr double kPixelsPerMm = 55.0;
constexpr double kOriginPixel = 245.0;

double BoardX(int n) {
    return 1 + n % kColumns;
}
double BoardY(int n) {
    return -(1 + n / kColumns);
}

TruthPart OnPicture(int n) {
    return {BoardX(n),
            BoardY(n),
            {kOriginPixel + BoardX(n) * kPixelsPerMm, kOriginPixel - BoardY(n) * kPixelsPerMm}};
}

// All parts on the top face, listed in file order by the first sort order: one package, one
// prefix, values that grow every kPartsPerKind parts.
QByteArray FaceFile() {
    QByteArray file = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int n = 0; n < kFaceParts; ++n) {
        file += "R" + QByteArray::number(n + 1) + ",V" +
                QByteArray::number(n / kPartsPerKind).rightJustified(4, '0') + ",0603," +
                QByteArray::number(BoardX(n), 'f', 3) + ',' +
                QByteArray::number(BoardY(n), 'f', 3) + ",0,top\n";
    }
    return file;
}

// A board-sized photo stand-in: a tile pattern under noise, so that the decoder and the scaler
// see a realistic amount of detail.
QImage NoisePicture() {
    QImage picture(kPictureSize, QImage::Format_RGB32);
    std::uint32_t state = 12345u;
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = static_cast<int>(state >> 26);
            const int tile = ((x / 64 + y / 64) % 2) * 96;
            line[x] = qRgb(40 + tile + noise, 90 + noise, 60 + tile / 2 + noise);
        }
    }
    return picture;
}

// The main window on the offscreen desktop with the face loaded, the picture shown and the
// calibration taken through the window, the first part selected.
class AssemblyWindow {
public:
    AssemblyWindow() : window_(platform_) {
        const QString config = dir_.filePath(QStringLiteral("Kavelto.ini"));
        const QString parts = dir_.filePath(QStringLiteral("face.csv"));
        const QString picture = dir_.filePath(QStringLiteral("board.jpg"));
        QImageWriter writer(picture, "jpeg");
        writer.setQuality(85);
        ready_ = WriteFile(config, "1\n,\n1,5,6,3,4,7,2\n") && WriteFile(parts, FaceFile()) &&
                 writer.write(NoisePicture()) && window_.LoadColumnMap(config);
        window_.resize(1280, 900);
        window_.show();
        QCoreApplication::processEvents();
        platform_.files.push_back(parts);
        click("loadPkp");
        platform_.files.push_back(picture);
        click("loadBitmap");
        window_.repaint();
        CalibrateOn(window_, {OnPicture(0), OnPicture(kFaceParts - 1)});
        ClickRow(window_, 0);
        QCoreApplication::processEvents();
    }

    // The program closes its window before destroying it.
    ~AssemblyWindow() { window_.hide(); }

    bool ready() const {
        return ready_ && window_.session().faceList().faceCount == kFaceParts &&
               window_.session().calibration().state == kavelto::CalState::CalibratedOk &&
               window_.session().view().pictureSize.value_or(kavelto::PixelSize{}).width ==
                   kPictureSize.width() &&
               platform_.messages.empty();
    }

    bool selectedPartPlaced() const {
        const int row = window_.session().selection().row.value();
        return window_.session().partAtRow(row).placed;
    }

    // Once the last part is placed: every mark cleared (the box answered OK) and back to the top.
    void startOver() {
        click("unplaceAll");
        QTest::keyClick(&window_, Qt::Key_Home);
        platform_.messages.clear();
        QCoreApplication::processEvents();
    }

    void pressEnter() { QTest::keyClick(&window_, Qt::Key_Return); }

    void showKindSpots(bool show) {
        for (QAction* action : window_.actions())
            if (action->text() == QLatin1String("Show all parts of this kind"))
                action->setChecked(show);
    }

    std::size_t boxesShown() const { return platform_.messages.size(); }

private:
    static bool WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    void click(const char* name) {
        QTest::mouseClick(window_.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }

    QTemporaryDir dir_;
    FakePlatform platform_;
    CPlacementDlg window_;
    bool ready_ = false;
};

// One iteration is one Enter: mark the part, find the next unplaced one, locate it and repaint
// the board, with the "New part !" box answered at once. With withListPaint the pending paints
// of the list are flushed inside the timed step too; otherwise between steps, untimed.
void EnterStep(benchmark::State& state, AssemblyWindow& window, bool withListPaint) {
    std::vector<double> seconds;
    std::size_t boxes = 0;
    for (auto _ : state) {
        if (window.selectedPartPlaced())
            window.startOver();
        const std::size_t boxesBefore = window.boxesShown();
        const auto start = std::chrono::steady_clock::now();
        window.pressEnter();
        if (withListPaint)
            QCoreApplication::processEvents();
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!withListPaint)
            QCoreApplication::processEvents();
        boxes += window.boxesShown() - boxesBefore;
        state.SetIterationTime(elapsed);
        seconds.push_back(elapsed);
    }
    state.counters["median_ms"] = Percentile(seconds, 0.5) * 1e3;
    state.counters["p90_ms"] = Percentile(seconds, 0.9) * 1e3;
    state.counters["boxes"] = static_cast<double>(boxes);
}

// The size of the kept session files in the state folder, the largest.
qint64 KeptSessionBytes(const QString& stateFolder) {
    qint64 largest = 0;
    for (const QFileInfo& file : QDir(stateFolder + "/kavelto").entryInfoList(QDir::Files))
        largest = std::max(largest, file.size());
    return largest;
}

} // namespace

// Every step keeps the session on disk, as the program does; the kept files go to a folder of
// the benchmark's own.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(state.path()));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    AssemblyWindow window;
    if (!window.ready())
        return 1;
    const struct {
        const char* name;
        bool withListPaint;
        bool kindSpots;
    } steps[] = {{"BM_EnterStep", false, false},
                 {"BM_EnterStepWithListPaint", true, false},
                 {"BM_EnterStepShowingKindSpots", false, true}};
    for (const auto& step : steps) {
        benchmark::RegisterBenchmark(step.name,
                                     [&window, &state, step](benchmark::State& bench) {
                                         window.showKindSpots(step.kindSpots);
                                         EnterStep(bench, window, step.withListPaint);
                                         bench.counters["kept_bytes"] =
                                             double(KeptSessionBytes(state.path()));
                                     })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

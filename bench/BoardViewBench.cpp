#include "FakePlatform.h"
#include "Percentile.h"
#include "TruthBoard.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace kavelto;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPictureWidth = 6000;
constexpr int kPictureHeight = 4000;
// The demo board's millimetres drawn at 30 picture pixels each, so its parts spread over most
// of the large picture.
constexpr double kPixelsPerMillimetre = 30.0;
constexpr double kLeftMillimetres = 50.0;
constexpr double kTopMillimetres = 60.0;

// A board-like picture: green solder mask crossed by copper tracks and pads, with noise on
// every pixel as a photograph has, so that it does not compress to nothing.
QImage BoardPicture() {
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < kPictureHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < kPictureWidth; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const bool copper = (x % 97 < 6) || (y % 131 < 5) || ((x / 40 + y / 40) % 23 == 0);
            const int grain = static_cast<int>(noise & 31u) - 16;
            const int r = (copper ? 190 : 20) + grain;
            const int g = (copper ? 150 : 110) + grain;
            const int b = (copper ? 70 : 40) + grain;
            line[x] = qRgb(r, g, b);
        }
    }
    return picture;
}

bool WriteJpeg(const QImage& picture, const QString& path) {
    QImageWriter writer(path, "jpeg");
    writer.setQuality(85);
    return writer.write(picture);
}

// A field of /proc/self/status in kilobytes, or -1.
long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

double Megabytes(long kilobytes) {
    return static_cast<double>(kilobytes) / 1024.0;
}

// Starts the peak resident size afresh, so that making the test picture does not count.
bool ResetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

// The main window on the offscreen desktop with the demo board's parts, the large picture and
// a calibration made the user's way: a row, a press on the picture, Cal 1; again with Cal 2.
class CalibratedBoard {
public:
    CalibratedBoard(const QString& first, const QString& second)
        : pictures_{first, second}, window_(platform_) {
        window_.LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini"));
        window_.resize(1280, 900);
        window_.show();
        QCoreApplication::processEvents();
        platform_.files.push_back(QStringLiteral(DEMO_DIR "/coldfire.csv"));
        click("loadPkp");
        loadPicture(0);
        window_.repaint();
        calibrate(false);
    }

    ~CalibratedBoard() { window_.hide(); }

    CPlacementDlg& window() { return window_; }

    // Calibrated with the pair alone, or with the map fitted through four points.
    bool calibrated(bool fitted) const {
        const kavelto::Calibration& calibration = window_.session().calibration();
        return calibration.state == kavelto::CalState::CalibratedOk &&
               kavelto::FitInForce(calibration) == fitted;
    }

    // The pair on row 0 and the row farthest from it; for the fitted map two more points, added
    // with Insert at the rows farthest from the pair's line on either side.
    void calibrate(bool fitted) {
        CalibrateOn(window_, {onPicture(0), onPicture(farthestRow())});
        if (fitted) {
            const int far = farthestRow();
            for (const int row : {farthestFromLine(0, far, 1), farthestFromLine(0, far, -1)}) {
                ClickRow(window_, row);
                PressOnPicture(window_, WindowPointNearest(window_, onPicture(row).pixel));
                QTest::keyClick(&window_, Qt::Key_Insert);
            }
        }
        ClickRow(window_, 0);
    }

    void loadPicture(int which) {
        platform_.files.push_back(pictures_[which]);
        click("loadBitmap");
    }

    void click(const char* name) {
        QTest::mouseClick(window_.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }

    // Nothing refused: the boxes that report a fit are no errors.
    bool quiet() const {
        return std::none_of(platform_.messages.begin(), platform_.messages.end(),
                            [](const auto& m) { return m.caption == QLatin1String("Error"); });
    }

private:
    const kavelto::PartRecord& partAt(int row) const { return window_.session().partAtRow(row); }

    // The row farthest from row 0 on both board axes at once.
    int farthestRow() const {
        const kavelto::PartRecord& first = partAt(0);
        int best = 0;
        double bestArea = 0.0;
        for (int row = 1; row < window_.session().faceList().faceCount; ++row) {
            const double area = std::abs(static_cast<double>(partAt(row).x - first.x) *
                                         static_cast<double>(partAt(row).y - first.y));
            if (area > bestArea) {
                bestArea = area;
                best = row;
            }
        }
        return best;
    }

    // The row farthest from the line through rows first and second, on the side of sign.
    int farthestFromLine(int first, int second, double sign) const {
        const auto side = [&](int row) {
            const kavelto::PartRecord &a = partAt(first), &b = partAt(second), &p = partAt(row);
            return sign * ((static_cast<double>(b.x) - a.x) * (static_cast<double>(p.y) - a.y) -
                           (static_cast<double>(b.y) - a.y) * (static_cast<double>(p.x) - a.x));
        };
        int best = 0;
        for (int row = 1; row < window_.session().faceList().faceCount; ++row)
            best = side(row) > side(best) ? row : best;
        return best;
    }

    // The part of the row, where the picture shows its board position.
    TruthPart onPicture(int row) const {
        const kavelto::PartRecord& part = partAt(row);
        return {part.x, part.y,
                QPointF((part.x - kLeftMillimetres) * kPixelsPerMillimetre,
                        (-part.y - kTopMillimetres) * kPixelsPerMillimetre)};
    }

    QString pictures_[2];
    FakePlatform platform_;
    CPlacementDlg window_;
};

std::unique_ptr<CalibratedBoard> gBoard;
bool gPeakReset = false;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

// Peak resident memory with the large picture loaded and painted, then turned and painted.
void PeakMemoryWithLargePicture(benchmark::State& state) {
    CPlacementDlg& window = gBoard->window();
    long loaded = 0;
    long turned = 0;
    for (auto _ : state) {
        window.repaint();
        loaded = StatusKilobytes("VmHWM");
        gBoard->click("rotR");
        window.repaint();
        turned = StatusKilobytes("VmHWM");
        gBoard->click("rotL");
        window.repaint();
    }
    state.counters["VmHWM_loaded_MB"] = Megabytes(loaded);
    state.counters["VmHWM_turned_MB"] = Megabytes(turned);
    state.counters["peak_reset"] = gPeakReset ? 1 : 0;
}
BENCHMARK(PeakMemoryWithLargePicture)->Iterations(1)->Unit(benchmark::kMillisecond);

// One step along the list with the keys: the part is located, the box moves and the board
// view repaints before the key returns; the list's own redraw follows in the event loop. The
// part is located by the pair, or by the map fitted through four points.
void PartStepMovesTheBox(benchmark::State& state) {
    CPlacementDlg& window = gBoard->window();
    const bool fitted = state.range(0) != 0;
    gBoard->calibrate(fitted);
    if (!gBoard->calibrated(fitted) || !gBoard->quiet()) {
        state.SkipWithError("the board did not calibrate");
        return;
    }
    std::vector<double> steps;
    bool down = true;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        QTest::keyClick(&window, down ? Qt::Key_Down : Qt::Key_Up);
        QCoreApplication::processEvents();
        steps.push_back(Milliseconds(Clock::now() - start));
        down = !down;
    }
    if (window.session().view().markerMode != kavelto::MarkerMode::PartLocated)
        state.SkipWithError("the steps did not locate the part");
    state.counters["median_ms"] = Percentile(steps, 0.5);
    state.counters["p90_ms"] = Percentile(steps, 0.9);
}
BENCHMARK(PartStepMovesTheBox)->ArgName("fitted")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The paint that follows "Load Bitmap": for the same unchanged file the decoded picture is
// kept, for another file it is decoded, turned and scaled afresh.
void FirstPaintAfterLoadBitmap(benchmark::State& state) {
    CPlacementDlg& window = gBoard->window();
    const bool anotherFile = state.range(0) != 0;
    int which = 0;
    for (auto _ : state) {
        if (anotherFile)
            which = 1 - which;
        gBoard->loadPicture(which);
        const Clock::time_point start = Clock::now();
        window.repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    if (window.session().view().pictureWidth != kPictureWidth)
        state.SkipWithError("the picture did not decode");
}
BENCHMARK(FirstPaintAfterLoadBitmap)
    ->ArgName("another_file")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("board.jpg"));
    const QString second = dir.filePath(QStringLiteral("board-copy.jpg"));
    if (!dir.isValid() || !WriteJpeg(BoardPicture(), first) || !QFile::copy(first, second))
        return 1;
    gPeakReset = ResetPeakMemory();
    gBoard = std::make_unique<CalibratedBoard>(first, second);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gBoard.reset();
    return 0;
}

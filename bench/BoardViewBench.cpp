#include "BoardView.h"
#include "CameraJpeg.h"
#include "FakePlatform.h"
#include "Percentile.h"
#include "TruthBoard.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
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
#include <optional>
#include <string>
#include <vector>

using namespace kavelto;

namespace {

using Clock = std::chrono::steady_clock;

// The board's own picture, 24 megapixels, and a 36-megapixel camera's, written as phones and
// cameras write them, with a thumbnail and restart markers; and the 24-megapixel picture as
// desktop software writes it, with neither.
struct PictureKind {
    QSize size;
    bool camera;
};
const PictureKind kPictures[] = {{{6000, 4000}, true}, {{7360, 4912}, true}, {{6000, 4000}, false}};
// The demo board's millimetres drawn at 30 picture pixels each, so its parts spread over most
// of the large picture.
constexpr double kPixelsPerMillimetre = 30.0;
constexpr double kLeftMillimetres = 50.0;
constexpr double kTopMillimetres = 60.0;

// A board-like picture: green solder mask crossed by copper tracks and pads, with noise on
// every pixel as a photograph has, so that it does not compress to nothing.
QImage BoardPicture(const QSize& size) {
    QImage picture(size, QImage::Format_RGB32);
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
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

bool WriteJpeg(const PictureKind& kind, const QString& path) {
    const QImage picture = BoardPicture(kind.size);
    if (kind.camera)
        return WriteCameraJpeg(picture, path);
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
// Each picture kind comes in two files of the same pixels, so that a load can take another file.
class CalibratedBoard {
public:
    explicit CalibratedBoard(const QStringList& pictures)
        : pictures_(pictures), window_(platform_) {
        window_.LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini"));
        window_.resize(1280, 900);
        window_.show();
        QCoreApplication::processEvents();
        platform_.files.push_back(QStringLiteral(DEMO_DIR "/coldfire.csv"));
        click("loadPkp");
        loadPicture(0);
        paintFirst();
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

    // The first or second file of the kind.
    QString picturePath(int kind, int which = 0) const { return pictures_[2 * kind + which]; }
    void loadPicture(int which, int kind = 0) {
        platform_.files.push_back(picturePath(kind, which));
        click("loadBitmap");
    }

    const PictureCache& pictures() const {
        return window_.findChild<BoardView*>(QStringLiteral("pictureFrame"))->pictures();
    }

    // Lets the event loop run until the first pixels of the picture, then until the whole
    // picture, are decoded, and paints them.
    void paintFirst() {
        paintWhen([this] { return pictures().decoded(); });
    }
    void paintWhole() {
        paintWhen([this] { return pictures().whole(); });
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
    template <typename Ready> void paintWhen(Ready ready) {
        while (!ready())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window_.repaint();
    }

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

    QStringList pictures_;
    FakePlatform platform_;
    CPlacementDlg window_;
};

std::unique_ptr<CalibratedBoard> gBoard;
bool gPeakReset = false;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

// Peak resident memory with the large picture loaded and painted whole, then through every
// turn of the view, each painted.
void PeakMemoryWithLargePicture(benchmark::State& state) {
    CPlacementDlg& window = gBoard->window();
    long loaded = 0;
    long turned = 0;
    for (auto _ : state) {
        gBoard->paintWhole();
        loaded = StatusKilobytes("VmHWM");
        for (int turn = 0; turn < 4; ++turn) {
            gBoard->click("rotR");
            window.repaint();
        }
        turned = StatusKilobytes("VmHWM");
    }
    state.counters["VmHWM_loaded_MB"] = Megabytes(loaded);
    state.counters["VmHWM_turned_MB"] = Megabytes(turned);
    state.counters["peak_reset"] = gPeakReset ? 1 : 0;
}
BENCHMARK(PeakMemoryWithLargePicture)->Iterations(1)->Unit(benchmark::kMillisecond);

// Steps along the list from a row to the next and back: the part is located, the box moves and the
// board view repaints before the key returns; the list's own redraw follows in the event loop. The
// part is located by the pair, or by the map fitted through four points.
void TimeSteps(benchmark::State& state, bool fitted, int firstRow) {
    CPlacementDlg& window = gBoard->window();
    gBoard->calibrate(fitted);
    if (!gBoard->calibrated(fitted) || !gBoard->quiet()) {
        state.SkipWithError("the board did not calibrate");
        return;
    }
    if (firstRow != 0)
        ClickRow(window, firstRow);
    std::vector<double> steps;
    bool forward = true;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        QTest::keyClick(&window, forward ? Qt::Key_Down : Qt::Key_Up);
        QCoreApplication::processEvents();
        steps.push_back(Milliseconds(Clock::now() - start));
        forward = !forward;
    }
    const std::optional<kavelto::Marker>& marker = window.session().view().marker;
    if (!marker || marker->mode != kavelto::MarkerMode::PartLocated)
        state.SkipWithError("the steps did not locate the part");
    state.counters["median_ms"] = Percentile(steps, 0.5);
    state.counters["p90_ms"] = Percentile(steps, 0.9);
}

void PartStepMovesTheBox(benchmark::State& state) {
    TimeSteps(state, state.range(0) != 0, 0);
}
BENCHMARK(PartStepMovesTheBox)->ArgNames({"fitted"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The row before which the list passes between the two largest neighbouring kinds.
int LargestKindBoundary(const kavelto::AssemblySession& session) {
    const int rows = session.faceList().faceCount;
    const auto kindSize = [&](int row) {
        int size = 0;
        for (int other = 0; other < rows; ++other)
            size += IsSameKind(session.partAtRow(row), session.partAtRow(other)) ? 1 : 0;
        return size;
    };
    int best = 1;
    int bestSize = 0;
    for (int row = 1; row < rows; ++row) {
        if (IsSameKind(session.partAtRow(row - 1), session.partAtRow(row)))
            continue;
        const int size = std::min(kindSize(row - 1), kindSize(row));
        if (size > bestSize) {
            best = row;
            bestSize = size;
        }
    }
    return best;
}

// Across the boundary of two large kinds and back, with the other parts of the kind shown or
// not: nothing drawn for one part's kind serves the other's.
void PartStepToAnotherKind(benchmark::State& state) {
    QAction* spots = MenuEntry(gBoard->window(), CommandId::ShowKindSpots);
    const bool showKind = state.range(0) != 0;
    if (spots->isChecked() != showKind)
        spots->trigger();
    TimeSteps(state, false, LargestKindBoundary(gBoard->window().session()) - 1);
    if (spots->isChecked())
        spots->trigger();
}
BENCHMARK(PartStepToAnotherKind)
    ->ArgNames({"kind_shown"})
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// "Load Bitmap" of a picture of the kind, and its paints as the user sees them: the first,
// from the thumbnail or the picture reduced to the frame, and that of the whole picture, both
// decoded off the window's thread, each timed from the click. The same unchanged file loaded
// again keeps its pixels.
void PaintsAfterLoadBitmap(benchmark::State& state) {
    CPlacementDlg& window = gBoard->window();
    const int kind = int(state.range(0));
    const bool anotherFile = state.range(1) != 0;
    std::vector<double> first;
    std::vector<double> whole;
    int which = 0;
    for (auto _ : state) {
        if (anotherFile)
            which = 1 - which;
        const Clock::time_point start = Clock::now();
        gBoard->loadPicture(which, kind);
        gBoard->paintFirst();
        first.push_back(Milliseconds(Clock::now() - start));
        gBoard->paintWhole();
        whole.push_back(Milliseconds(Clock::now() - start));
        state.SetIterationTime(first.back() / 1e3);
    }
    if (window.session().view().pictureSize.value_or(kavelto::PixelSize{}).width !=
        kPictures[kind].size.width())
        state.SkipWithError("the picture did not decode");
    state.counters["first_paint_ms"] = Percentile(first, 0.5);
    state.counters["whole_paint_ms"] = Percentile(whole, 0.5);
}
BENCHMARK(PaintsAfterLoadBitmap)
    ->ArgNames({"kind", "another_file"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Iterations(9)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The least a decoder does for a first picture of the file: the JPEG decoded at 1/8 of its
// size, from the file on disk, which decodes no more of each block than its average colour.
void DecoderFloor(benchmark::State& state) {
    const int kind = int(state.range(0));
    const QString path = gBoard->picturePath(kind);
    const QSize eighth = (kPictures[kind].size + QSize(7, 7)) / 8;
    std::vector<double> decodes;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        QImageReader reader(path);
        reader.setScaledSize(eighth);
        const QImage image = reader.read();
        decodes.push_back(Milliseconds(Clock::now() - start));
        state.SetIterationTime(decodes.back() / 1e3);
        if (image.size() != eighth)
            state.SkipWithError("the decoder did not reduce the picture");
    }
    state.counters["floor_ms"] = Percentile(decodes, 0.5);
}
BENCHMARK(DecoderFloor)
    ->ArgNames({"kind"})
    ->DenseRange(0, 2)
    ->Iterations(9)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList pictures;
    for (const PictureKind& kind : kPictures) {
        const QString name = QStringLiteral("board-%1x%2-%3")
                                 .arg(kind.size.width())
                                 .arg(kind.size.height())
                                 .arg(kind.camera ? "camera" : "desktop");
        pictures << dir.filePath(name + ".jpg") << dir.filePath(name + "-copy.jpg");
        if (!dir.isValid() || !WriteJpeg(kind, pictures[pictures.size() - 2]) ||
            !QFile::copy(pictures[pictures.size() - 2], pictures.back()))
            return 1;
    }
    gPeakReset = ResetPeakMemory();
    gBoard = std::make_unique<CalibratedBoard>(pictures);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gBoard.reset();
    return 0;
}

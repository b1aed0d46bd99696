#include "BoardView.h"
#include "CameraJpeg.h"
#include "FakePlatform.h"
#include "Percentile.h"
#include "TruthBoard.h"
#include "app/Workbench.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

using namespace kavelto;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

// The demo board's picture of a face and its truth, nearest and farthest parts first and last.
QString PictureOf(bool bottom) {
    return QStringLiteral(DEMO_DIR "/coldfire-%1.jpg").arg(bottom ? "bottom" : "top");
}
std::vector<TruthPart> TruthOf(bool bottom, double scale = 1.0) {
    std::vector<TruthPart> truth =
        ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), bottom);
    for (TruthPart& part : truth)
        part.pixel *= scale;
    return truth;
}

// The faces' pictures as a bench camera gives them: the demo's enlarged three times, about
// 21 megapixels, written with a thumbnail as cameras write them.
constexpr int kCameraScale = 3;
bool WriteCameraPicture(const QTemporaryDir& dir, bool bottom) {
    const QImage demo(PictureOf(bottom));
    return WriteCameraJpeg(
        demo.scaled(demo.size() * kCameraScale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
        dir.filePath(QFileInfo(PictureOf(bottom)).fileName()));
}

// The application layer alone: the workbench on the demo board, each face calibrated on its
// own picture through presses at its parts' true pixels, the session kept on disk as the
// program keeps it. The pictures' pixels are the window's business: only their sizes count.
class FaceWorkbench {
public:
    FaceWorkbench() : workbench_({"kavelto", {}, dir_.path().toStdString()}) {
        CommandInputs csv;
        csv.chosenFile = DEMO_DIR "/coldfire.csv";
        ready_ = workbench_.loadColumnMap(DEMO_DIR "/Kavelto.ini").ok();
        workbench_.run(CommandId::LoadPkpFile, csv);
        workbench_.session().setFrameSize(1000, 600);
        calibrateFace(false);
        workbench_.run(CommandId::Bottom, {});
        calibrateFace(true);
        workbench_.run(CommandId::Top, {});
    }

    bool calibrated() const {
        return ready_ && workbench_.session().calibration().state == CalState::CalibratedOk;
    }
    void choose(bool bottom) { workbench_.run(bottom ? CommandId::Bottom : CommandId::Top, {}); }

private:
    int rowOf(const TruthPart& part) const {
        const AssemblySession& session = workbench_.session();
        for (int row = 0; row < session.faceList().faceCount; ++row) {
            const PartRecord& record = session.partAtRow(row);
            if (std::hypot(part.boardX - record.x, part.boardY - record.y) < 1e-3)
                return row;
        }
        return -1;
    }

    void calibrateFace(bool bottom) {
        CommandInputs picture;
        picture.chosenFile = PictureOf(bottom).toStdString();
        workbench_.run(CommandId::LoadBitmap, picture);
        workbench_.session().pictureOpened(1990, 1197);
        const std::vector<TruthPart> truth = TruthOf(bottom);
        for (const TruthPart* part : {&truth.front(), &truth.back()}) {
            workbench_.setHighlightedRow(rowOf(*part));
            workbench_.run(CommandId::LocateSelectedPart, {});
            workbench_.press({true, float(part->pixel.x()), float(part->pixel.y())});
            workbench_.run(part == &truth.front() ? CommandId::Cal1 : CommandId::Cal2, {});
        }
    }

    QTemporaryDir dir_;
    Workbench workbench_;
    bool ready_ = false;
};

// The main window on the offscreen desktop with the same board, each face calibrated the
// user's way on its picture: the demo's own, or those of the folder given, scale times larger.
class FaceWindow {
public:
    explicit FaceWindow(QString folder = QStringLiteral(DEMO_DIR), double scale = 1.0)
        : folder_(std::move(folder)), scale_(scale), window_(platform_) {
        window_.LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini"));
        window_.resize(1280, 900);
        window_.show();
        QCoreApplication::processEvents();
        platform_.files.push_back(QStringLiteral(DEMO_DIR "/coldfire.csv"));
        click("loadPkp");
        calibrateFace(false);
        click("bottom");
        calibrateFace(true);
        choose(false);
        paintWhen([this] { return pictures().whole(); });
    }

    // The program closes its window before destroying it.
    ~FaceWindow() { window_.hide(); }

    bool calibrated() const {
        return window_.session().calibration().state == CalState::CalibratedOk &&
               platform_.messages.empty();
    }
    bool showsPictureOf(bool bottom) const {
        return window_.session().view().bitmapPath == pictureOf(bottom).toStdString();
    }

    void choose(bool bottom) { click(bottom ? "bottom" : "top"); }
    // Lets the event loop run until the first pixels, then until the whole picture, are
    // decoded, and paints them.
    void paintFirst() {
        paintWhen([this] { return pictures().decoded(); });
    }
    void paintWhole() {
        paintWhen([this] { return pictures().whole(); });
    }

private:
    const PictureCache& pictures() const {
        return window_.findChild<BoardView*>(QStringLiteral("pictureFrame"))->pictures();
    }

    template <typename Ready> void paintWhen(Ready ready) {
        while (!ready())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window_.repaint();
    }

    void click(const char* name) {
        QTest::mouseClick(window_.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
    }

    QString pictureOf(bool bottom) const {
        return folder_ + '/' + QFileInfo(PictureOf(bottom)).fileName();
    }

    void calibrateFace(bool bottom) {
        platform_.files.push_back(pictureOf(bottom));
        click("loadBitmap");
        paintFirst(); // a press converts with the scale of the last paint
        const std::vector<TruthPart> truth = TruthOf(bottom, scale_);
        CalibrateOn(window_, {truth.front(), truth.back()});
    }

    QString folder_;
    double scale_;
    FakePlatform platform_;
    CPlacementDlg window_;
};

std::unique_ptr<FaceWorkbench> gWorkbench;
// The camera's pictures, when they could be written.
std::unique_ptr<QTemporaryDir> gCamera;
std::unique_ptr<FaceWindow> gWindow;

// The window on the demo's pictures, or on the camera's. One at a time: a second window on the
// same placement file would keep nothing of it, and say so.
FaceWindow* WindowOn(bool camera) {
    gWindow.reset();
    if (!camera)
        gWindow = std::make_unique<FaceWindow>();
    else if (gCamera)
        gWindow = std::make_unique<FaceWindow>(gCamera->path(), kCameraScale);
    return gWindow.get();
}

// Top, Bottom, Top...: each switch brings back the face's list, picture path and calibration.
void FaceSwitchApplicationLayer(benchmark::State& state) {
    std::vector<double> switches;
    bool bottom = false;
    for (auto _ : state) {
        bottom = !bottom;
        const Clock::time_point start = Clock::now();
        gWorkbench->choose(bottom);
        switches.push_back(Milliseconds(Clock::now() - start));
        state.SetIterationTime(switches.back() / 1e3);
    }
    if (!gWorkbench->calibrated())
        state.SkipWithError("a switch lost the calibration");
    state.counters["median_ms"] = Percentile(switches, 0.5);
    state.counters["p90_ms"] = Percentile(switches, 0.9);
}
BENCHMARK(FaceSwitchApplicationLayer)
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The same through the window, timed from the click to the first paint of the face's picture
// and to the paint of its whole picture; on the demo's pictures, or on the camera's.
void FaceSwitchThroughTheWindow(benchmark::State& state) {
    FaceWindow* const window = WindowOn(state.range(0) != 0);
    if (!window) {
        state.SkipWithError("the camera's pictures could not be written");
        return;
    }
    std::vector<double> first, whole;
    bool bottom = false;
    bool kept = true;
    for (auto _ : state) {
        bottom = !bottom;
        const Clock::time_point start = Clock::now();
        window->choose(bottom);
        window->paintFirst();
        first.push_back(Milliseconds(Clock::now() - start));
        window->paintWhole();
        whole.push_back(Milliseconds(Clock::now() - start));
        state.SetIterationTime(first.back() / 1e3);
        kept = kept && window->calibrated() && window->showsPictureOf(bottom);
    }
    if (!kept)
        state.SkipWithError("a switch lost the face's picture or calibration");
    state.counters["first_paint_ms"] = Percentile(first, 0.5);
    state.counters["whole_paint_ms"] = Percentile(whole, 0.5);
    state.counters["whole_paint_p90_ms"] = Percentile(whole, 0.9);
}
BENCHMARK(FaceSwitchThroughTheWindow)
    ->ArgNames({"camera"})
    ->Arg(0)
    ->Arg(1)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    gWorkbench = std::make_unique<FaceWorkbench>();
    gCamera = std::make_unique<QTemporaryDir>();
    if (!WriteCameraPicture(*gCamera, false) || !WriteCameraPicture(*gCamera, true))
        gCamera.reset();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gWindow.reset();
    gWorkbench.reset();
    gCamera.reset();
    return 0;
}

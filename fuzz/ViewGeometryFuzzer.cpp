// The board view's geometry with any picture and frame sizes, turns, mirrors, zooms, markers
// and calibrations: no undefined behaviour, and every result inside its frame.

#include "ScratchFolder.h"
#include "geometry/Calibration.h"
#include "geometry/ViewGeometry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <optional>

using namespace kavelto;

namespace {

// The largest widget side the window system allows, which bounds every frame.
constexpr int kMaxWidgetSide = 16777215;
// Below these sizes float picture coordinates keep whole pixels, and the checks of where a
// point lands can ask for a pixel's accuracy.
constexpr int kExactPicture = 1 << 24;
constexpr int kExactFrame = 1 << 20;

int AnyInt(FuzzedDataProvider& in, int lo, int hi) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(lo, hi) : in.ConsumeIntegral<int>();
}

float AnyFloat(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? static_cast<float>(in.ConsumeIntegralInRange(-500, 500)) / 4.0f
                            : in.ConsumeFloatingPoint<float>();
}

// A calibration built by any sequence of Cal 1, Cal 2, added and removed points.
Calibration AnyCalibration(FuzzedDataProvider& in) {
    Calibration calibration;
    PartSelection selection;
    for (int step = in.ConsumeIntegralInRange(0, 8); step > 0; --step) {
        selection.part = BoardPosition{AnyFloat(in), AnyFloat(in)};
        const std::optional<PixelPoint> marker =
            in.ConsumeBool() ? std::optional<PixelPoint>(
                                   PixelPoint{AnyInt(in, -100, 8000), AnyInt(in, -100, 8000)})
                             : std::nullopt;
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            RecordCalPoint1(calibration, selection, marker);
            break;
        case 1:
            RecordCalPoint2(calibration, selection, marker);
            break;
        case 2:
            AddCalPoint(calibration, selection, marker);
            break;
        default:
            RemoveLastCalPoint(calibration);
        }
    }
    Require(!CalibrationText(calibration).empty(), "the calibration field has a text");
    return calibration;
}

bool Within(double v, double lo, double hi) {
    return v >= lo && v <= hi;
}

void CheckFit(const FitResult& fit, const PixelRect& frame) {
    if (!fit.drawable)
        return;
    Require(Within(fit.drawnWidth, 1, frame.width) && Within(fit.drawnHeight, 1, frame.height),
            "the drawn picture fits the frame");
    Require(std::isfinite(fit.scale) && fit.scale > 0.0f, "a drawn picture has a scale");
}

void CheckStrips(const PixelRect& frame, const FitResult& fit, bool repaintAll) {
    for (const PixelRect& s : BackgroundStrips(frame, fit.drawnWidth, fit.drawnHeight, repaintAll))
        Require(s.width > 0 && s.height > 0 && s.left >= frame.left && s.top >= frame.top &&
                    s.left + s.width <= frame.left + frame.width &&
                    s.top + s.height <= frame.top + frame.height,
                "background strips inside the frame");
}

void CheckMarkerBox(const ViewState& view, const PixelRect& frame, const FitResult& fit) {
    const BoxCorners box = MarkerBox(view, frame, fit.drawnWidth, fit.drawnHeight);
    if (!fit.drawable || fit.drawnWidth < 4 || fit.drawnHeight < 4)
        return;
    Require(box.xLo <= box.xHi && box.yLo <= box.yHi, "box corners in order");
    Require(Within(box.xLo, frame.left + 2, frame.left + fit.drawnWidth - 2) &&
                Within(box.xHi, frame.left + 2, frame.left + fit.drawnWidth - 2) &&
                Within(box.yLo, frame.top + 2, frame.top + fit.drawnHeight - 2) &&
                Within(box.yHi, frame.top + 2, frame.top + fit.drawnHeight - 2),
            "the marker box 2 pixels inside the drawn picture");
}

// A point on the picture lands on the drawn picture, and comes back within a window pixel.
void CheckConversions(const ViewState& view, const PixelRect& frame, const FitResult& fit, int x,
                      int y) {
    const PixelPoint at = PictureToWindow(view, frame, x, y);
    Require(Within(at.x, frame.left - 2, frame.left + fit.drawnWidth + 2) &&
                Within(at.y, frame.top - 2, frame.top + fit.drawnHeight + 2),
            "a picture point lands on the drawn picture");
    const PicturePoint back = WindowToPicture(view, frame, at.x, at.y);
    const double slack = 2.0 * view.scale + 1.0;
    Require(std::abs(back.x - x) <= slack && std::abs(back.y - y) <= slack,
            "a point comes back where it was");
}

void CheckMagnifier(const ViewState& view, const FitResult& fit) {
    const PixelRect square = MagnifierSource(view);
    Require(square.width == view.zoomBoxSize && square.height == view.zoomBoxSize,
            "the magnified square has the zoom's side");
    const double half = view.zoomBoxSize / 2;
    Require(Within(square.left + half, -1, fit.turnedWidth + 1) &&
                Within(square.top + half, -1, fit.turnedHeight + 1),
            "the magnified square centred on the turned picture");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    ViewState view;
    view.pictureWidth = AnyInt(in, 0, 12000);
    view.pictureHeight = AnyInt(in, 0, 12000);
    view.viewRotation =
        in.ConsumeBool() ? 90 * in.ConsumeIntegralInRange(0, 3) : in.ConsumeIntegral<int>();
    view.mirrored = in.ConsumeBool();
    view.zoomBoxSize = in.ConsumeBool()
                           ? in.ConsumeIntegralInRange(kMinZoomBoxSize, kMaxZoomBoxSize)
                           : in.ConsumeIntegral<int>();
    const PixelRect frame{in.ConsumeIntegralInRange(-kMaxWidgetSide, kMaxWidgetSide),
                          in.ConsumeIntegralInRange(-kMaxWidgetSide, kMaxWidgetSide),
                          AnyInt(in, -1, 2000) % (kMaxWidgetSide + 1),
                          AnyInt(in, -1, 2000) % (kMaxWidgetSide + 1)};
    const FitResult fit =
        FitPicture(view.pictureWidth, view.pictureHeight, view.viewRotation, frame);
    CheckFit(fit, frame);
    CheckStrips(frame, fit, in.ConsumeBool());
    // The scale of the last paint, or any other a view may hold before or between paints.
    view.scale = in.ConsumeBool() ? fit.scale : in.ConsumeFloatingPoint<float>();

    const Calibration calibration = AnyCalibration(in);
    const std::optional<PixelPoint> located = LocatePart(calibration, AnyFloat(in), AnyFloat(in));
    view.markerX = located ? located->x : AnyInt(in, -100, 12100);
    view.markerY = located ? located->y : AnyInt(in, -100, 12100);
    CheckMarkerBox(view, frame, fit);
    WindowToPicture(view, frame, AnyInt(in, -5000, 5000), AnyInt(in, -5000, 5000));
    RotationText(RotatedLeft(view.viewRotation), view.mirrored);
    RotationText(RotatedRight(view.viewRotation), view.mirrored);
    const int zoom = ZoomedOut(ZoomedIn(view.zoomBoxSize));
    Require(Within(zoom, kMinZoomBoxSize, kMaxZoomBoxSize), "zooms within their limits");

    const bool exact = fit.drawable && view.scale == fit.scale &&
                       view.pictureWidth < kExactPicture && view.pictureHeight < kExactPicture &&
                       frame.width < kExactFrame && frame.height < kExactFrame &&
                       view.viewRotation % 90 == 0;
    if (exact && IsOnPicture(view.markerX, view.markerY, view.pictureWidth, view.pictureHeight)) {
        CheckConversions(view, frame, fit, view.markerX, view.markerY);
        if (Within(view.zoomBoxSize, kMinZoomBoxSize, kMaxZoomBoxSize))
            CheckMagnifier(view, fit);
    }
    return 0;
}

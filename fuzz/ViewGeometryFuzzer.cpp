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

void CheckStrips(const PixelRect& frame, const FitResult& fit) {
    for (const PixelRect& s : BackgroundStrips(frame, fit.drawnWidth, fit.drawnHeight))
        Require(s.width > 0 && s.height > 0 && s.left >= frame.left && s.top >= frame.top &&
                    s.left + s.width <= frame.left + frame.width &&
                    s.top + s.height <= frame.top + frame.height,
                "background strips inside the frame");
}

void CheckMarkerBox(const ViewTransform& board, PixelPoint marker, int zoomBoxSize) {
    const BoxCorners box = MarkerBox(board, marker, zoomBoxSize);
    const PixelRect drawn = board.drawn();
    if (drawn.width < 4 || drawn.height < 4)
        return;
    Require(box.xLo <= box.xHi && box.yLo <= box.yHi, "box corners in order");
    Require(Within(box.xLo, drawn.left + 2, drawn.left + drawn.width - 2) &&
                Within(box.xHi, drawn.left + 2, drawn.left + drawn.width - 2) &&
                Within(box.yLo, drawn.top + 2, drawn.top + drawn.height - 2) &&
                Within(box.yHi, drawn.top + 2, drawn.top + drawn.height - 2),
            "the marker box 2 pixels inside the drawn picture");
}

// A point on the picture lands on the drawn picture, and comes back within a window pixel.
void CheckConversions(const ViewTransform& board, const FitResult& fit, PixelPoint p) {
    const PixelPoint at = PictureToWindow(board, p.x, p.y);
    const PixelRect drawn = board.drawn();
    Require(Within(at.x, drawn.left - 2, drawn.left + drawn.width + 2) &&
                Within(at.y, drawn.top - 2, drawn.top + drawn.height + 2),
            "a picture point lands on the drawn picture");
    const PicturePoint back = WindowToPicture(board, at.x, at.y);
    const double slack = 2.0 * fit.scale + 1.0;
    Require(std::abs(back.x - p.x) <= slack && std::abs(back.y - p.y) <= slack,
            "a point comes back where it was");
}

void CheckMagnifier(const ViewTransform& board, PixelPoint marker, int zoomBoxSize) {
    const PixelRect square = MagnifierSource(board, marker, zoomBoxSize);
    Require(square.width == zoomBoxSize && square.height == zoomBoxSize,
            "the magnified square has the zoom's side");
    const double half = zoomBoxSize / 2;
    const PixelSize turned = board.turnedSize();
    Require(Within(square.left + half, -1, turned.width + 1) &&
                Within(square.top + half, -1, turned.height + 1),
            "the magnified square centred on the turned picture");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const PixelSize picture{AnyInt(in, 0, 12000), AnyInt(in, 0, 12000)};
    const int viewRotation =
        in.ConsumeBool() ? 90 * in.ConsumeIntegralInRange(0, 3) : in.ConsumeIntegral<int>();
    const bool mirrored = in.ConsumeBool();
    const int zoomBoxSize = in.ConsumeBool()
                                ? in.ConsumeIntegralInRange(kMinZoomBoxSize, kMaxZoomBoxSize)
                                : in.ConsumeIntegral<int>();
    const PixelRect frame{in.ConsumeIntegralInRange(-kMaxWidgetSide, kMaxWidgetSide),
                          in.ConsumeIntegralInRange(-kMaxWidgetSide, kMaxWidgetSide),
                          AnyInt(in, -1, 2000) % (kMaxWidgetSide + 1),
                          AnyInt(in, -1, 2000) % (kMaxWidgetSide + 1)};
    const FitResult fit = FitPicture(picture.width, picture.height, viewRotation, frame);
    CheckFit(fit, frame);
    CheckStrips(frame, fit);
    ViewState view;
    view.bitmapPath = "board.jpg";
    view.pictureSize = picture;
    view.frameSize = {frame.width, frame.height};
    view.viewRotation = viewRotation;
    view.mirrored = mirrored;
    Require(BoardTransform(view).has_value() == FitPicture(picture.width, picture.height,
                                                           viewRotation,
                                                           {0, 0, frame.width, frame.height})
                                                    .drawable,
            "the state's transform exactly when the fit draws");

    const Calibration calibration = AnyCalibration(in);
    const std::optional<PixelPoint> located = LocatePart(calibration, AnyFloat(in), AnyFloat(in));
    const PixelPoint marker =
        located ? *located : PixelPoint{AnyInt(in, -100, 12100), AnyInt(in, -100, 12100)};
    const std::optional<ViewTransform> board =
        ViewTransform::Fitted(picture, viewRotation, mirrored, frame);
    Require(board.has_value() == fit.drawable, "a transform exactly when the fit draws");
    RotationText(RotatedLeft(viewRotation), mirrored);
    RotationText(RotatedRight(viewRotation), mirrored);
    const int zoom = ZoomedOut(ZoomedIn(zoomBoxSize));
    Require(Within(zoom, kMinZoomBoxSize, kMaxZoomBoxSize), "zooms within their limits");
    if (!board)
        return 0;
    CheckMarkerBox(*board, marker, zoomBoxSize);
    WindowToPicture(*board, AnyInt(in, -5000, 5000), AnyInt(in, -5000, 5000));
    const bool exact = picture.width < kExactPicture && picture.height < kExactPicture &&
                       frame.width < kExactFrame && frame.height < kExactFrame;
    if (exact && IsOnPicture(marker.x, marker.y, picture.width, picture.height)) {
        CheckConversions(*board, fit, marker);
        if (Within(zoomBoxSize, kMinZoomBoxSize, kMaxZoomBoxSize))
            CheckMagnifier(*board, marker, zoomBoxSize);
    }
    return 0;
}

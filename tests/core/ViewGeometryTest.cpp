#include "ViewGeometry.h"
#include "Truncate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavelto {

// Found by argument-dependent lookup from GoogleTest and std::vector comparisons.
bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& os, const PixelRect& r) {
    return os << '(' << r.left << ", " << r.top << ", " << r.width << ", " << r.height << ')';
}

namespace {

// The picture frame of the worked examples: client point (10, 20), 600 x 400.
constexpr PixelRect kFrame{10, 20, 600, 400};

// The view as a paint of the given picture in kFrame leaves it.
ViewState PaintedView(int width, int height, int rotation, bool mirrored) {
    ViewState view;
    view.pictureWidth = width;
    view.pictureHeight = height;
    view.viewRotation = rotation;
    view.mirrored = mirrored;
    view.scale = FitPicture(width, height, rotation, kFrame).scale;
    return view;
}

TEST(Truncate, TowardZeroAndSaturating) {
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        double in;
        int out;
    } cases[] = {
        {3.7, 3},      {-3.7, -3},           {-0.9, 0},
        {0.0, 0},      {2147483647.9, kMax}, {-2147483648.9, kMin},
        {3e9, kMax},   {-3e9, kMin},         {kInf, kMax},
        {-kInf, kMin}, {std::nan(""), 0},    {1e300, kMax},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncToInt(c.in), c.out) << c.in;
}

struct FitCase {
    int width, height, rotation;
    PixelRect frame;
    int drawnW, drawnH;
    float scale;
    bool drawable;
};

TEST(ViewGeometry, FitsTurnedPictureIntoFrame) {
    const FitCase cases[] = {
        {1200, 600, 0, kFrame, 600, 300, 2.0f, true},
        {1200, 600, 180, kFrame, 600, 300, 2.0f, true},
        {1200, 600, 90, kFrame, 200, 400, 3.0f, true},
        {1200, 600, 270, kFrame, 200, 400, 3.0f, true},
        {300, 200, 0, kFrame, 600, 400, 0.5f, true}, // enlarged, equal aspect ratios
        {0, 0, 0, kFrame, 0, 0, 0.0f, false},        // undecodable file
        {1200, 0, 90, kFrame, 0, 0, 0.0f, false},
        {1200, 600, 0, {10, 20, 0, 400}, 0, 0, 0.0f, false}, // frame narrowed to nothing
        {1200, 600, 0, {10, 20, -35, 400}, 0, 0, 0.0f, false},
        {1200, 600, 0, {10, 20, 600, 0}, 0, 0, 0.0f, false},
        {1, 100000, 0, kFrame, 0, 0, 0.0f, false}, // thinner than a window pixel
    };
    for (const FitCase& c : cases) {
        const FitResult fit = FitPicture(c.width, c.height, c.rotation, c.frame);
        SCOPED_TRACE(testing::Message()
                     << c.width << 'x' << c.height << " at " << c.rotation << " in " << c.frame);
        EXPECT_EQ(fit.drawnWidth, c.drawnW);
        EXPECT_EQ(fit.drawnHeight, c.drawnH);
        EXPECT_EQ(fit.scale, c.scale);
        EXPECT_EQ(fit.drawable, c.drawable);
    }
}

struct StripCase {
    int drawnW, drawnH;
    bool repaintAll;
    std::vector<PixelRect> strips;
};

TEST(ViewGeometry, BlackensWhatThePictureLeavesUncovered) {
    const StripCase cases[] = {
        {600, 300, false, {{10, 320, 600, 100}}},
        {200, 400, false, {{210, 20, 400, 400}}},
        {600, 400, false, {}},
        {600, 300, true, {kFrame}},
        {0, 0, false, {kFrame, kFrame}}, // nothing drawn: the margins cover the whole frame
    };
    for (const StripCase& c : cases) {
        EXPECT_EQ(BackgroundStrips(kFrame, c.drawnW, c.drawnH, c.repaintAll), c.strips)
            << c.drawnW << 'x' << c.drawnH << " all " << c.repaintAll;
    }
    EXPECT_TRUE(BackgroundStrips({10, 20, 0, 400}, 0, 0, true).empty());
}

struct MappingCase {
    int rotation;
    bool mirrored;
    int pictureX, pictureY;
    int windowX, windowY;
};

TEST(ViewGeometry, PictureToWindowWorkedExamples) {
    const MappingCase cases[] = {
        {0, false, 100, 50, 60, 45},
        {90, false, 100, 50, 193, 53},
        {0, true, 100, 50, 560, 45},
    };
    for (const MappingCase& c : cases) {
        const ViewState view = PaintedView(1200, 600, c.rotation, c.mirrored);
        const PixelPoint w = PictureToWindow(view, kFrame, c.pictureX, c.pictureY);
        EXPECT_EQ(w.x, c.windowX) << c.rotation << " mirrored " << c.mirrored;
        EXPECT_EQ(w.y, c.windowY) << c.rotation << " mirrored " << c.mirrored;
    }
}

struct PressCase {
    int rotation;
    int wx, wy;
    bool inside;
    float x, y;
};

TEST(ViewGeometry, WindowToPictureWorkedExamples) {
    const PressCase cases[] = {
        {0, 60, 45, true, 100.0f, 50.0f},
        {90, 193, 53, true, 99.0f, 51.0f},
        {0, 10, 20, true, 0.0f, 0.0f},        // the frame's top-left pixel
        {0, 610, 100, true, 1200.0f, 160.0f}, // right edge of the drawn picture: inclusive
        {0, 611, 100, false, 1202.0f, 160.0f},
        {0, 100, 321, false, 180.0f, 602.0f}, // the black strip below the picture
        {0, 9, 100, false, -2.0f, 160.0f},
    };
    for (const PressCase& c : cases) {
        const ViewState view = PaintedView(1200, 600, c.rotation, false);
        const PicturePoint p = WindowToPicture(view, kFrame, c.wx, c.wy);
        SCOPED_TRACE(testing::Message() << c.rotation << ": " << c.wx << ", " << c.wy);
        EXPECT_EQ(p.inside, c.inside);
        EXPECT_FLOAT_EQ(p.x, c.x);
        EXPECT_FLOAT_EQ(p.y, c.y);
    }
}

// Every turn and mirror: a press on the drawn picture is on the picture, and the box drawn
// for the pixel it gives lands back within one window pixel of the press.
TEST(ViewGeometry, PressRoundTripsInEveryOrientation) {
    for (const int rotation : {0, 90, 180, 270}) {
        for (const bool mirrored : {false, true}) {
            const ViewState view = PaintedView(1200, 600, rotation, mirrored);
            const FitResult fit = FitPicture(1200, 600, rotation, kFrame);
            for (int dx = 0; dx <= fit.drawnWidth; dx += 7) {
                for (int dy = 0; dy <= fit.drawnHeight; dy += 11) {
                    const int wx = kFrame.left + dx;
                    const int wy = kFrame.top + dy;
                    const PicturePoint p = WindowToPicture(view, kFrame, wx, wy);
                    ASSERT_TRUE(p.inside) << rotation << ' ' << mirrored << ' ' << wx << ',' << wy;
                    const PixelPoint back =
                        PictureToWindow(view, kFrame, TruncToInt(p.x), TruncToInt(p.y));
                    EXPECT_LE(std::abs(back.x - wx), 1) << rotation << ' ' << mirrored;
                    EXPECT_LE(std::abs(back.y - wy), 1) << rotation << ' ' << mirrored;
                }
            }
        }
    }
}

// Every picture pixel of an enlarged picture lands on the drawn picture, in every orientation.
TEST(ViewGeometry, PicturePixelsLandOnDrawnPicture) {
    for (const int rotation : {0, 90, 180, 270}) {
        for (const bool mirrored : {false, true}) {
            const ViewState view = PaintedView(300, 200, rotation, mirrored);
            const FitResult fit = FitPicture(300, 200, rotation, kFrame);
            for (int x = 0; x <= 300; x += 5) {
                for (int y = 0; y <= 200; y += 5) {
                    const PixelPoint w = PictureToWindow(view, kFrame, x, y);
                    ASSERT_GE(w.x, kFrame.left);
                    ASSERT_LE(w.x, kFrame.left + fit.drawnWidth);
                    ASSERT_GE(w.y, kFrame.top);
                    ASSERT_LE(w.y, kFrame.top + fit.drawnHeight);
                    const PicturePoint p = WindowToPicture(view, kFrame, w.x, w.y);
                    EXPECT_TRUE(p.inside);
                    EXPECT_NEAR(p.x, x, 1.0) << rotation << ' ' << mirrored;
                    EXPECT_NEAR(p.y, y, 1.0) << rotation << ' ' << mirrored;
                }
            }
        }
    }
}

TEST(ViewGeometry, ConversionsWithoutAPaintedPicture) {
    ViewState view; // scale 0 until the first paint
    const PixelPoint w = PictureToWindow(view, kFrame, 100, 50);
    EXPECT_EQ(w.x, kFrame.left);
    EXPECT_EQ(w.y, kFrame.top);
    view.pictureWidth = 0; // an undecodable file
    view.pictureHeight = 0;
    const PicturePoint p = WindowToPicture(view, kFrame, 300, 300);
    EXPECT_FLOAT_EQ(p.x, 0.0f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);
}

struct BoxCase {
    int rotation;
    int markerX, markerY, zoom;
    int drawnW, drawnH;
    BoxCorners box;
};

TEST(ViewGeometry, MarkerBoxStaysInsideDrawnPicture) {
    constexpr int kMax = std::numeric_limits<int>::max();
    const BoxCase cases[] = {
        {0, 100, 50, 100, 600, 300, {35, 22, 85, 70}}, // top edge pulled to 22
        {0, 100, 50, 101, 600, 300, {35, 22, 85, 70}}, // half truncates: 101 boxes as 100
        // Far beyond the picture the box collapses onto the drawn picture's edges.
        {0, 5000, -5000, 100, 600, 300, {608, 22, 608, 22}},
        {0, kMax, kMax, 400, 600, 300, {608, 318, 608, 318}},
        // A turn reverses an axis; the corners still come out ordered.
        {90, 100, 50, 100, 200, 400, {176, 36, 208, 70}},
        // Drawn sides under 4 pixels: the upper bound wins.
        {0, 100, 50, 100, 3, 2, {11, 20, 11, 20}},
    };
    for (const BoxCase& c : cases) {
        ViewState view = PaintedView(1200, 600, c.rotation, false);
        view.markerX = c.markerX;
        view.markerY = c.markerY;
        view.zoomBoxSize = c.zoom;
        const BoxCorners box = MarkerBox(view, kFrame, c.drawnW, c.drawnH);
        SCOPED_TRACE(testing::Message() << c.rotation << ": " << c.markerX << ',' << c.markerY);
        EXPECT_EQ(box.xLo, c.box.xLo);
        EXPECT_EQ(box.yLo, c.box.yLo);
        EXPECT_EQ(box.xHi, c.box.xHi);
        EXPECT_EQ(box.yHi, c.box.yHi);
    }
}

struct MagnifierCase {
    int rotation;
    bool mirrored;
    PixelRect source;
};

TEST(ViewGeometry, MagnifierSquareInTurnedPicture) {
    constexpr int kMin = std::numeric_limits<int>::min();
    const MagnifierCase cases[] = {
        {0, false, {50, 0, 100, 100}},
        {90, true, {500, 1050, 100, 100}},
        {180, false, {1050, 500, 100, 100}},
        {270, false, {0, 1050, 100, 100}},
    };
    for (const MagnifierCase& c : cases) {
        ViewState view = PaintedView(1200, 600, c.rotation, c.mirrored);
        view.markerX = 100;
        view.markerY = 50;
        EXPECT_EQ(MagnifierSource(view), c.source) << c.rotation << " mirrored " << c.mirrored;
    }
    ViewState extreme = PaintedView(1200, 600, 0, false);
    extreme.markerX = kMin;
    extreme.markerY = kMin;
    EXPECT_EQ(MagnifierSource(extreme), (PixelRect{kMin, kMin, 100, 100}));
}

TEST(ViewGeometry, RotationCommandsAndText) {
    const struct {
        int rotation;
        int left, right;
    } turns[] = {{0, 270, 90}, {90, 0, 180}, {180, 90, 270}, {270, 180, 0}};
    for (const auto& t : turns) {
        EXPECT_EQ(RotatedLeft(t.rotation), t.left) << t.rotation;
        EXPECT_EQ(RotatedRight(t.rotation), t.right) << t.rotation;
    }
    // Start, Rot L, Flip, Rot R.
    EXPECT_EQ(RotationText(0, false), "0\xC2\xB0 - Normal");
    EXPECT_EQ(RotationText(RotatedLeft(0), false), "270\xC2\xB0 - Normal");
    EXPECT_EQ(RotationText(270, true), "270\xC2\xB0 - Flipped");
    EXPECT_EQ(RotationText(RotatedRight(270), true), "0\xC2\xB0 - Flipped");
}

TEST(ViewGeometry, ZoomSequences) {
    const int zoomIn[] = {76, 58, 44, 33, 25, 20, 20};
    const int zoomOut[] = {130, 169, 219, 284, 369, 400, 400};
    int size = 100;
    for (const int expected : zoomIn)
        EXPECT_EQ(size = ZoomedIn(size), expected);
    size = 100;
    for (const int expected : zoomOut)
        EXPECT_EQ(size = ZoomedOut(size), expected);
    EXPECT_EQ(ZoomedOut(ZoomedIn(100)), 98);
}

} // namespace
} // namespace kavelto

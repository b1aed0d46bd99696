// The outline and its pin 1 mark drawn through the view at every quarter turn, mirrored and
// not: the pixels at the body's corners take the outline's colour and the pixel at pin 1 the
// mark's, where the turn by hand puts them.

#include "OutlinePainter.h"
#include "PaintWarnings.h"

#include <QtTest>

using namespace kavelto;

namespace {

// A 200 x 100 picture; a body from (40, 10) to (80, 30) with pin 1 at (45, 15).
constexpr int kWidth = 200;
constexpr int kHeight = 100;
const std::array<PlanePoint, 4> kBody = {PlanePoint{40, 10}, {80, 10}, {80, 30}, {40, 30}};
constexpr PlanePoint kPinOne{45, 15};
const QColor kSelectedOutline(255, 250, 155);
const QColor kPinOneColour(255, 60, 60);

// Where a picture point lands at its own scale: mirrored left-right first, then turned
// clockwise by quarter turns.
QPointF TurnedByHand(PlanePoint p, int quarterTurns, bool mirrored) {
    double x = mirrored ? kWidth - p.x : p.x;
    double y = p.y;
    double width = kWidth;
    double height = kHeight;
    for (int i = 0; i < quarterTurns; ++i) {
        const double turnedX = height - y;
        y = x;
        x = turnedX;
        std::swap(width, height);
    }
    return {x, y};
}

bool ColourNear(const QImage& image, QPointF at, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(int(at.x()) + dx, int(at.y()) + dy);
            if (image.rect().contains(p) && image.pixelColor(p) == colour)
                return true;
        }
    return false;
}

// An outline of the body, pin 1 marked so.
PictureOutline Body(PinOneMark mark, PlanePoint pinOne = kPinOne) {
    PictureOutline outline;
    outline.corners = kBody;
    outline.pinOne = pinOne;
    outline.mark = mark;
    return outline;
}

// The outlines painted upright at the picture's own scale over black.
QImage PaintedUpright(const std::vector<DrawnOutline>& outlines) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    OutlinePainter(ViewTransform({kWidth, kHeight}, 0, false)).paint(painter, outlines);
    return image;
}

} // namespace

class OutlinePainterTest : public QObject {
    Q_OBJECT

private slots:
    void init() { FailOnPaintWarnings(); }
    void cornersAndDotAtEveryTurn_data() {
        QTest::addColumn<int>("turns");
        QTest::addColumn<bool>("mirrored");
        for (int turns = 0; turns < 4; ++turns)
            for (const bool mirrored : {false, true})
                QTest::addRow("%d quarter turns%s", turns, mirrored ? ", mirrored" : "")
                    << turns << mirrored;
    }

    void cornersAndDotAtEveryTurn() {
        QFETCH(int, turns);
        QFETCH(bool, mirrored);
        const ViewTransform view({kWidth, kHeight}, turns * 90, mirrored);
        QImage image(kWidth, kWidth, QImage::Format_RGB32);
        image.fill(Qt::black);
        {
            QPainter painter(&image);
            OutlinePainter(view).paint(painter, {{Body(PinOneMark::Dot), true, false}});
        }
        for (const PlanePoint& corner : kBody)
            QVERIFY(ColourNear(image, TurnedByHand(corner, turns, mirrored), kSelectedOutline));
        QCOMPARE(image.pixelColor(TurnedByHand(kPinOne, turns, mirrored).toPoint()), kPinOneColour);
        // The body's middle stays unpainted: an outline, not a filled box.
        QCOMPARE(image.pixelColor(TurnedByHand({60, 20}, turns, mirrored).toPoint()),
                 QColor(Qt::black));
    }

    // A cathode bar is a thick line between its two ends, a "+" two strokes through pin 1.
    void barAndPlus() {
        PictureOutline bar = Body(PinOneMark::CathodeBar);
        bar.bar = {PlanePoint{45, 12}, PlanePoint{45, 28}};
        const QImage image =
            PaintedUpright({{bar, true, false}, {Body(PinOneMark::Plus, {150, 50}), true, false}});
        QCOMPARE(image.pixelColor(45, 20), kPinOneColour);
        QCOMPARE(image.pixelColor(45, 26), kPinOneColour);
        // The plus's four arms about its centre, and nothing between them.
        for (const QPoint& arm :
             {QPoint(150, 50), QPoint(153, 50), QPoint(147, 50), QPoint(150, 53), QPoint(150, 47)})
            QCOMPARE(image.pixelColor(arm), kPinOneColour);
        QCOMPARE(image.pixelColor(153, 53), QColor(Qt::black));
    }

    // Without pin 1 known no mark is drawn, whatever mark the package has.
    void noMarkWithoutPinOne() {
        PictureOutline outline = Body(PinOneMark::Dot);
        outline.pinOne.reset();
        const QImage image = PaintedUpright({{outline, true, false}});
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        QCOMPARE(std::count(pixels, pixels + qsizetype(kWidth) * kHeight, kPinOneColour.rgb()), 0);
        QVERIFY(ColourNear(image, {60, 10}, kSelectedOutline)); // the outline all the same
    }

    // Pads appear once the view shows them at least four pixels wide.
    void padsOnlyWhenLargeEnough() {
        for (const double side : {10.0, 3.0}) {
            PictureOutline outline;
            outline.pads = {
                {PlanePoint{100, 50}, {100 + side, 50}, {100 + side, 50 + side}, {100, 50 + side}}};
            const QImage image = PaintedUpright({{outline, true, false}});
            QCOMPARE(image.pixelColor(100, 52) != QColor(Qt::black), side > 4);
        }
    }

    // The dot at pin 1 is a fifth of the body's shorter side across, in window pixels, kept from
    // 2 to 8 pixels; 4 where the body is not known. Measured along its row, where its red at
    // least half covers the black.
    void dotSizedByTheBody() {
        const struct {
            const char* name;
            double width, height; // the body's, 0 when it is not known
            int radius;
        } rows[] = {
            {"a fifth of the shorter side", 40, 20, 4},
            {"at least 2", 40, 5, 2},
            {"at most 8", 90, 60, 8},
            {"no body known", 0, 0, 4},
        };
        for (const auto& row : rows) {
            // Pin 1 in the body's middle, on row 60.
            PictureOutline outline;
            outline.pinOne = PlanePoint{100, 60};
            outline.mark = PinOneMark::Dot;
            const double left = 100 - row.width / 2, top = 60 - row.height / 2;
            if (row.width > 0)
                outline.corners = std::array<PlanePoint, 4>{PlanePoint{left, top},
                                                            {left + row.width, top},
                                                            {left + row.width, top + row.height},
                                                            {left, top + row.height}};
            const QImage image = PaintedUpright({{outline, true, false}});
            int across = 0;
            for (int x = 80; x < 120; ++x) {
                const QColor seen = image.pixelColor(x, 60);
                across += seen.red() >= 128 && seen.green() < 100;
            }
            QVERIFY2(qAbs(across - 2 * row.radius) <= 1,
                     qPrintable(QStringLiteral("%1: %2").arg(row.name).arg(across)));
        }
    }

    // A part done is filled dim over the picture, its body where known, else a dot at its
    // position; no mark is drawn for it.
    void donePartsFilledDim() {
        PictureOutline dot;
        dot.origin = PlanePoint{150, 50};
        const QImage image =
            PaintedUpright({{Body(PinOneMark::Dot), false, true, true}, {dot, false, true, true}});
        for (const QPoint inside : {QPoint(60, 20), QPoint(45, 15), QPoint(150, 50)}) {
            const QColor seen = image.pixelColor(inside);
            QVERIFY(seen.green() > seen.red() && seen.green() > seen.blue());
            QVERIFY(seen.green() < 200); // dim: the picture shows through
        }
        QCOMPARE(image.pixelColor(160, 50), QColor(Qt::black));
    }

    // A part of the kind is drawn in its spot colour, placed or still to place.
    void kindOutlinesInSpotColours() {
        const PictureOutline toPlace = Body(PinOneMark::None);
        PictureOutline placed = toPlace;
        for (PlanePoint& corner : *placed.corners)
            corner.x += 100;
        const QImage image = PaintedUpright({{toPlace, false, false}, {placed, false, true}});
        QVERIFY(ColourNear(image, {60, 10}, QColor(0, 200, 255)));
        QVERIFY(ColourNear(image, {160, 10}, QColor(200, 120, 255)));
    }

    // The painter comes back as it was given: the view goes on drawing with its own pen, brush
    // and hints.
    void leavesThePainterAsItFoundIt() {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::green, 3));
        painter.setBrush(Qt::blue);
        OutlinePainter(ViewTransform({kWidth, kHeight}, 0, false))
            .paint(painter,
                   {{Body(PinOneMark::Dot), true, false}, {Body(PinOneMark::Plus), false, true}});
        QCOMPARE(painter.renderHints().testFlag(QPainter::Antialiasing), false);
        QCOMPARE(painter.pen(), QPen(Qt::green, 3));
        QCOMPARE(painter.brush(), QBrush(Qt::blue));
    }
};

QTEST_MAIN(OutlinePainterTest)
#include "OutlinePainterTest.moc"

// Outlines placed from their kept pictures look as the outlines drawn straight through the view,
// to within the quarter pixel the pictures are kept to, and follow the parts when they move.

#include "OutlineSprites.h"
#include "OutlinePainter.h"
#include "PaintWarnings.h"

#include <QtTest>

using namespace kavelto;

namespace {

constexpr PixelSize kPicture{400, 300};

PictureOutline Body(double left, double top, double width, double height) {
    PictureOutline outline;
    outline.corners = {PlanePoint{left, top},
                       {left + width, top},
                       {left + width, top + height},
                       {left, top + height}};
    return outline;
}

// Parts of every way of drawing: selected with pads and a dot, the kind's with a cathode bar
// and with a "+", one done with its body and one without, one across the right edge, and one
// body four times, whole pixels apart, to place, placed, placed among the face's done, and
// selected.
std::vector<DrawnOutline> Parts(double dx, double dy) {
    PictureOutline selected = Body(40.3 + dx, 30.6 + dy, 60, 30);
    selected.pinOne = PlanePoint{48 + dx, 38 + dy};
    selected.mark = PinOneMark::Dot;
    for (const double left : {42.0, 82.0})
        selected.pads.push_back({PlanePoint{left + dx, 34 + dy},
                                 {left + 14 + dx, 34 + dy},
                                 {left + 14 + dx, 56 + dy},
                                 {left + dx, 56 + dy}});
    PictureOutline bar = Body(150.7 + dx, 40.2 + dy, 30, 16);
    bar.pinOne = PlanePoint{153 + dx, 48 + dy};
    bar.mark = PinOneMark::CathodeBar;
    bar.bar = {PlanePoint{153 + dx, 41 + dy}, PlanePoint{153 + dx, 55 + dy}};
    PictureOutline plus = Body(220.1 + dx, 120.9 + dy, 40, 40);
    plus.pinOne = PlanePoint{228 + dx, 130 + dy};
    plus.mark = PinOneMark::Plus;
    PictureOutline doneDot;
    doneDot.origin = PlanePoint{300.4 + dx, 200.2 + dy};
    return {{Body(100.2 + dx, 200.8 + dy, 50, 25), false, true, true},
            {doneDot, false, true, true},
            {bar, false, false},
            {plus, false, true},
            {Body(385.5 + dx, 250.3 + dy, 40, 20), false, false},
            {Body(290.5 + dx, 20.5 + dy, 30, 12), false, false},
            {Body(290.5 + dx, 50.5 + dy, 30, 12), false, true},
            {Body(290.5 + dx, 110.5 + dy, 30, 12), false, true, true},
            {Body(290.5 + dx, 80.5 + dy, 30, 12), true, false},
            {selected, true, false}};
}

QImage Black(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// Clearly painted: more than the faint edge of a line a quarter pixel away would give.
bool Painted(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 250;
}

// Alike, or the same colour over black with another share of the pixel covered, as the edge
// of a thin line a quarter pixel away covers it.
bool Near(QRgb a, QRgb b) {
    const double dot = qRed(a) * qRed(b) + qGreen(a) * qGreen(b) + qBlue(a) * qBlue(b);
    const double lengths =
        std::hypot(qRed(a), qGreen(a), qBlue(a)) * std::hypot(qRed(b), qGreen(b), qBlue(b));
    return (std::abs(qRed(a) - qRed(b)) < 80 && std::abs(qGreen(a) - qGreen(b)) < 80 &&
            std::abs(qBlue(a) - qBlue(b)) < 80) ||
           (lengths > 0 && dot / lengths > 0.99);
}

// The pixels of `drawn` that have no pixel of a like colour at most one pixel away in `other`.
int Unmatched(const QImage& drawn, const QImage& other) {
    int unmatched = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb pixel = drawn.pixel(x, y);
            if (!Painted(pixel))
                continue;
            bool matched = false;
            for (int i = 0; i < 9 && !matched; ++i) {
                const QPoint at(x + i % 3 - 1, y + i / 3 - 1);
                matched = other.rect().contains(at) && Near(pixel, other.pixel(at));
            }
            unmatched += matched ? 0 : 1;
        }
    return unmatched;
}

} // namespace

class OutlineSpritesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { FailOnPaintWarnings(); }
    void likeTheOutlinesDrawnStraight_data() {
        QTest::addColumn<int>("turns");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QSize>("frame");
        QTest::addRow("upright at the picture's size") << 0 << false << QSize(400, 300);
        QTest::addRow("turned, mirrored, reduced") << 1 << true << QSize(170, 227);
        QTest::addRow("half turned, enlarged") << 2 << false << QSize(700, 525);
    }

    void likeTheOutlinesDrawnStraight() {
        QFETCH(int, turns);
        QFETCH(bool, mirrored);
        QFETCH(QSize, frame);
        const std::optional<ViewTransform> view = ViewTransform::Fitted(
            kPicture, turns * 90, mirrored, {0, 0, frame.width(), frame.height()});
        QVERIFY(view);
        OutlineSprites sprites;
        // Moved by a fraction of a pixel and by many: kept pictures never stay behind.
        for (const QPointF& moved : {QPointF(0, 0), QPointF(0.3, 0.45), QPointF(17.6, -9.2)}) {
            const std::vector<DrawnOutline> parts = Parts(moved.x(), moved.y());
            QImage straight = Black(frame);
            QImage placed = Black(frame);
            {
                QPainter painter(&straight);
                OutlinePainter(*view).paint(painter, parts);
            }
            {
                QPainter painter(&placed);
                sprites.paint(painter, *view, parts);
            }
            QCOMPARE(Unmatched(straight, placed), 0);
            QCOMPARE(Unmatched(placed, straight), 0);
        }
    }
};

QTEST_MAIN(OutlineSpritesTest)
#include "OutlineSpritesTest.moc"

#include "BoardView.h"

#include "session/AssemblySession.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>

namespace kavelto {

namespace {

const QColor kUserPointPen(55, 255, 100);
const QColor kPartLocatedPen(255, 250, 155);
constexpr qreal kPenWidth = 4.0;
// The other spots of the kind: rings where parts are still to go, dots where they are placed.
const QColor kSpotToPlace(0, 200, 255);
const QColor kSpotPlaced(200, 120, 255);
constexpr int kSpotRadius = 6;

} // namespace

BoardView::BoardView(AssemblySession& session, QWidget* parent)
    : QFrame(parent), session_(session) {
    setFrameShape(QFrame::Box);
    connect(&pictures_, &PictureCache::sharpened, this, [this] { update(); });
}

void BoardView::setShowKindSpots(bool show) {
    showKindSpots_ = show;
    update();
}

void BoardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (session_.view().bitmapLoaded)
        paintPicture(painter);
    paintProgress(painter);
    drawFrame(&painter);
}

void BoardView::paintPicture(QPainter& painter) {
    const ViewState& view = session_.view();
    const PictureCache::Picture picture = pictures_.picture(
        QFile::decodeName(view.bitmapPath.c_str()), frame(), view.viewRotation, view.mirrored);
    const FitResult& fit = picture.fit;
    for (const PixelRect& strip :
         BackgroundStrips(frame(), fit.drawnWidth, fit.drawnHeight, view.repaintAll))
        painter.fillRect(QRect(strip.left, strip.top, strip.width, strip.height), Qt::black);
    session_.recordPaint(picture.stored.width(), picture.stored.height(), fit);
    // Without a drawn picture there is nothing to box.
    if (!fit.drawable)
        return;
    painter.drawImage(QPoint(0, 0), picture.drawn);
    if (showKindSpots_)
        paintKindSpots(painter);
    if (view.markerMode != MarkerMode::None)
        paintMarkerBox(painter, fit);
}

void BoardView::paintKindSpots(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const AssemblySession::Spot& spot : session_.spotsOfSelectedKind()) {
        const PixelPoint at = PictureToWindow(session_.view(), frame(), spot.pixel.x, spot.pixel.y);
        painter.setPen(QPen(spot.placed ? kSpotPlaced : kSpotToPlace, 2.0));
        painter.setBrush(spot.placed ? QBrush(kSpotPlaced) : Qt::NoBrush);
        painter.drawEllipse(QPoint(at.x, at.y), kSpotRadius, kSpotRadius);
    }
    painter.restore();
}

// "37 / 146 placed" in the frame's bottom right corner, readable on any picture.
void BoardView::paintProgress(QPainter& painter) const {
    const int parts = session_.faceList().faceCount;
    if (parts == 0)
        return;
    const QString text = QStringLiteral("%1 / %2 placed").arg(session_.placedOnFace()).arg(parts);
    QRect box = painter.fontMetrics().boundingRect(text).adjusted(-6, -3, 6, 3);
    box.moveBottomRight(rect().bottomRight() - QPoint(4, 4));
    painter.fillRect(box, QColor(0, 0, 0, 170));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

void BoardView::paintMarkerBox(QPainter& painter, const FitResult& fit) const {
    const ViewState& view = session_.view();
    const BoxCorners box = MarkerBox(view, frame(), fit.drawnWidth, fit.drawnHeight);
    painter.setPen(QPen(view.markerMode == MarkerMode::UserPoint ? kUserPointPen : kPartLocatedPen,
                        kPenWidth));
    painter.drawLine(box.xLo, box.yLo, box.xHi, box.yLo);
    painter.drawLine(box.xLo, box.yHi, box.xHi, box.yHi);
    painter.drawLine(box.xLo, box.yLo, box.xLo, box.yHi);
    painter.drawLine(box.xHi, box.yLo, box.xHi, box.yHi);
}

PicturePoint BoardView::toPicture(const QMouseEvent& event) const {
    const QPoint at = event.position().toPoint();
    return WindowToPicture(session_.view(), frame(), at.x(), at.y());
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (event->modifiers().testFlag(Qt::ControlModifier))
            emit identifyRequested(toPicture(*event));
        else
            emit pressed(toPicture(*event));
    }
    QFrame::mousePressEvent(event);
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    emit dragged(toPicture(*event));
    QFrame::mouseMoveEvent(event);
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    emit released(toPicture(*event));
    QFrame::mouseReleaseEvent(event);
}

} // namespace kavelto

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
// A part left off the board is crossed out where it would go.
const QColor kNotFittedCross(255, 60, 60);

void PaintCross(QPainter& painter, int left, int top, int right, int bottom) {
    painter.save();
    painter.setPen(QPen(kNotFittedCross, 2.0));
    painter.drawLine(left, top, right, bottom);
    painter.drawLine(left, bottom, right, top);
    painter.restore();
}

} // namespace

BoardView::BoardView(AssemblySession& session, QWidget* parent)
    : QFrame(parent), session_(session) {
    setFrameShape(QFrame::Box);
    connect(&pictures_, &PictureCache::sharpened, this, &BoardView::viewChanged);
    connect(&pictures_, &PictureCache::undecodable, this, &BoardView::pictureUndecodable);
}

void BoardView::openPicture() {
    const std::optional<std::string>& path = session_.view().bitmapPath;
    if (!path) {
        pictures_.close();
        return;
    }
    const QSize stored = pictures_.open(QFile::decodeName(path->c_str()));
    session_.pictureOpened(stored.width(), stored.height());
    pictures_.decode(BoardTransform(session_.view()));
}

void BoardView::viewChanged() {
    if (const std::optional<ViewTransform> board = BoardTransform(session_.view()))
        pictures_.prepare(*board);
    update();
}

// A picture whose header was fine but whose pixels are not: it counts as one that can't be
// read, drawn black, and presses on it don't count.
void BoardView::pictureUndecodable() {
    session_.pictureOpened(0, 0);
    update();
}

// Told after every command: only a change is painted again.
void BoardView::setShowKindSpots(bool show) {
    if (show == showKindSpots_)
        return;
    showKindSpots_ = show;
    update();
}

void BoardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ViewState& view = session_.view();
    if (view.bitmapPath)
        paintPicture(painter, view);
    paintProgress(painter);
    drawFrame(&painter);
}

// Black wherever no picture pixels are drawn: beside and below the picture, and under it while
// its pixels are still being decoded or let the background through.
void BoardView::paintPicture(QPainter& painter, const ViewState& view) const {
    const std::optional<ViewTransform> board = BoardTransform(view);
    const PixelRect drawn = board ? board->drawn() : PixelRect{0, 0, 0, 0};
    for (const PixelRect& strip :
         BackgroundStrips({0, 0, width(), height()}, drawn.width, drawn.height))
        painter.fillRect(QRect(strip.left, strip.top, strip.width, strip.height), Qt::black);
    // Without a drawn picture there is nothing to box.
    if (!board)
        return;
    // Made for this view when its pixels or the view changed; scaled only in between.
    const QImage& image = pictures_.drawn();
    const QRect target(drawn.left, drawn.top, drawn.width, drawn.height);
    if (image.isNull() || image.hasAlphaChannel())
        painter.fillRect(target, Qt::black);
    if (image.size() == target.size())
        painter.drawImage(target.topLeft(), image);
    else if (!image.isNull())
        painter.drawImage(target, image);
    if (showKindSpots_)
        paintKindSpots(painter, *board);
    if (view.marker)
        paintMarkerBox(painter, *board, *view.marker);
}

void BoardView::paintKindSpots(QPainter& painter, const ViewTransform& board) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const AssemblySession::Spot& spot : session_.spotsOfSelectedKind()) {
        const PixelPoint at = PictureToWindow(board, spot.pixel.x, spot.pixel.y);
        painter.setPen(QPen(spot.placed ? kSpotPlaced : kSpotToPlace, 2.0));
        painter.setBrush(spot.placed ? QBrush(kSpotPlaced) : Qt::NoBrush);
        painter.drawEllipse(QPoint(at.x, at.y), kSpotRadius, kSpotRadius);
        if (spot.notFitted)
            PaintCross(painter, at.x - kSpotRadius, at.y - kSpotRadius, at.x + kSpotRadius,
                       at.y + kSpotRadius);
    }
    painter.restore();
}

// "37 / 146 placed" in the frame's bottom right corner, readable on any picture.
void BoardView::paintProgress(QPainter& painter) const {
    const int parts = session_.fittedOnFace();
    if (parts == 0)
        return;
    const QString text = QStringLiteral("%1 / %2 placed").arg(session_.placedOnFace()).arg(parts);
    QRect box = painter.fontMetrics().boundingRect(text).adjusted(-6, -3, 6, 3);
    box.moveBottomRight(rect().bottomRight() - QPoint(4, 4));
    painter.fillRect(box, QColor(0, 0, 0, 170));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

void BoardView::paintMarkerBox(QPainter& painter, const ViewTransform& board,
                               const Marker& marker) const {
    const BoxCorners box = MarkerBox(board, marker.at, session_.view().zoomBoxSize);
    painter.setPen(
        QPen(marker.mode == MarkerMode::UserPoint ? kUserPointPen : kPartLocatedPen, kPenWidth));
    painter.drawLine(box.xLo, box.yLo, box.xHi, box.yLo);
    painter.drawLine(box.xLo, box.yHi, box.xHi, box.yHi);
    painter.drawLine(box.xLo, box.yLo, box.xLo, box.yHi);
    painter.drawLine(box.xHi, box.yLo, box.xHi, box.yHi);
    const std::optional<int> row = session_.selection().row;
    if (marker.mode == MarkerMode::PartLocated && row && *row < session_.faceList().faceCount &&
        session_.isNotFittedAtRow(*row))
        PaintCross(painter, box.xLo, box.yLo, box.xHi, box.yHi);
}

// Off any drawn picture, a point lies nowhere on it.
PicturePoint BoardView::toPicture(const QMouseEvent& event) const {
    const std::optional<ViewTransform> board = BoardTransform(session_.view());
    if (!board)
        return {false, 0.0f, 0.0f};
    const QPoint at = event.position().toPoint();
    return WindowToPicture(*board, at.x(), at.y());
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

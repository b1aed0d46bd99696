#include "BoardView.h"

#include "PictureMessages.h"
#include "session/AssemblySession.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace kavelto {

namespace {

const QColor kUserPointPen(55, 255, 100);
const QColor kPartLocatedPen(255, 250, 155);
constexpr qreal kPenWidth = 4.0;
// The other spots of the kind: rings where parts are still to go, dots where they are placed.
const QColor kSpotToPlace(0, 200, 255);
const QColor kSpotPlaced(200, 120, 255);
constexpr int kSpotRadius = 6;
// The banner over the top edge: long enough to read a kind's value and package.
constexpr int kBannerMs = 2000;
const QColor kBannerFill(0, 0, 0, 190);
const QColor kBannerText(255, 250, 155);
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
    : QFrame(parent), session_(session), bannerTimer_(new QTimer(this)) {
    setFrameShape(QFrame::Box);
    bannerTimer_->setSingleShot(true);
    bannerTimer_->setInterval(kBannerMs);
    connect(bannerTimer_, &QTimer::timeout, this, [this] {
        banner_.clear();
        update();
    });
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
    tellRefusal();
    pictures_.decode(BoardTransform(session_.view()));
}

void BoardView::tellRefusal() {
    const std::optional<std::string>& path = session_.view().bitmapPath;
    if (const std::optional<PictureRefusal>& refusal = pictures_.refusal(); refusal && path)
        emit cantShow(CantShowPicture(QFile::decodeName(path->c_str()).toStdString(), *refusal));
}

// An enlarged view is drawn straight through its transform: only the fit is made ahead.
void BoardView::viewChanged() {
    const std::optional<ViewTransform> board = BoardTransform(session_.view());
    if (board && session_.view().overviewZoom <= 1.0)
        pictures_.prepare(*board);
    update();
}

// A picture whose header was fine but whose pixels are not: it counts as one that can't be
// read, drawn black, and presses on it don't count.
void BoardView::pictureUndecodable() {
    session_.pictureOpened(0, 0);
    update();
    tellRefusal();
}

void BoardView::showBanner(const QString& text) {
    banner_ = text;
    bannerTimer_->start();
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
    paintBanner(painter);
    drawFrame(&painter);
}

// Across the whole top edge, over the picture, leaving the marker's box in the middle visible.
void BoardView::paintBanner(QPainter& painter) const {
    if (banner_.isEmpty())
        return;
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QRect strip(0, 0, width(), painter.fontMetrics().height() * 2);
    painter.fillRect(strip, kBannerFill);
    painter.setPen(kBannerText);
    painter.drawText(strip, Qt::AlignCenter, banner_);
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
    const bool enlarged = view.overviewZoom > 1.0;
    if (image.isNull() || image.hasAlphaChannel() || enlarged)
        painter.fillRect(target, Qt::black);
    if (enlarged)
        pictures_.drawThrough(painter, *board);
    else if (image.size() == target.size())
        painter.drawImage(target.topLeft(), image);
    else if (!image.isNull())
        painter.drawImage(target, image);
    // Where the body is known its outline stands for the box and the spots of the kind.
    const auto selected = std::find_if(outlines_.begin(), outlines_.end(),
                                       [](const DrawnOutline& drawn) { return drawn.selected; });
    const bool bodyKnown = selected != outlines_.end() && selected->outline.corners;
    if (showKindSpots_ && !bodyKnown)
        paintKindSpots(painter, *board);
    if (view.marker && !bodyKnown)
        paintMarkerBox(painter, *board, *view.marker);
    sprites_.paint(painter, *board, outlines_);
}

// Told after every command, before the repaint that command asked for.
void BoardView::showOutlines(std::vector<DrawnOutline> outlines) {
    outlines_ = std::move(outlines);
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
    if (event->button() == Qt::MiddleButton)
        panFrom_ = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (event->modifiers().testFlag(Qt::ControlModifier))
            emit identifyRequested(toPicture(*event));
        else
            emit pressed(toPicture(*event));
    }
    QFrame::mousePressEvent(event);
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::MiddleButton)) {
        const QPoint at = event->position().toPoint();
        emit panRequested(at.x() - panFrom_.x(), at.y() - panFrom_.y());
        panFrom_ = at;
    }
    emit dragged(toPicture(*event));
    QFrame::mouseMoveEvent(event);
}

// Ctrl and the wheel enlarge about the pointer; the wheel alone is left to the window.
void BoardView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (!event->modifiers().testFlag(Qt::ControlModifier) || steps == 0) {
        QFrame::wheelEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    emit zoomRequested(at.x(), at.y(), steps);
    event->accept();
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    emit released(toPicture(*event));
    QFrame::mouseReleaseEvent(event);
}

} // namespace kavelto

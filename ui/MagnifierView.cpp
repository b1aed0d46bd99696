#include "MagnifierView.h"

#include "BoardView.h"
#include "geometry/MagnifierGeometry.h"
#include "session/AssemblySession.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavelto {

namespace {

// Thin, and in a colour that shows on copper, solder mask and silkscreen alike.
const QColor kCrosshairPen(255, 40, 200);

} // namespace

MagnifierView::MagnifierView(const AssemblySession& session, const BoardView& board,
                             QWidget* parent)
    : QFrame(parent), session_(session), board_(board) {
    setFrameShape(QFrame::Box);
    connect(&board.pictures(), &PictureCache::sharpened, this, [this] { update(); });
    connect(&board.pictures(), &PictureCache::undecodable, this, [this] { update(); });
}

std::optional<ViewTransform> MagnifierView::transform() const {
    if (held_)
        return held_;
    const ViewState& view = session_.view();
    const std::optional<ViewTransform> board = BoardTransform(view);
    if (!board || !view.marker)
        return std::nullopt;
    return MagnifierTransform(*board, view.marker->at, view.zoomBoxSize, {width(), height()});
}

// Shows nothing while there is no marker or no picture drawn to take the area from. The area
// may reach beyond the picture; the pane stays black there.
void MagnifierView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (const std::optional<ViewTransform> magnifier = transform()) {
        painter.fillRect(rect(), Qt::black);
        board_.pictures().drawThrough(painter, *magnifier);
        sprites_.paint(painter, *magnifier, board_.outlines());
        paintCrosshair(painter, *magnifier);
    }
    drawFrame(&painter);
}

void MagnifierView::paintCrosshair(QPainter& painter, const ViewTransform& magnifier) const {
    const std::optional<Marker>& marker = session_.view().marker;
    if (!marker)
        return;
    const ViewPoint at = CrosshairPoint(magnifier, marker->at);
    const int x = static_cast<int>(at.x);
    const int y = static_cast<int>(at.y);
    painter.setPen(QPen(kCrosshairPen, 1.0));
    painter.drawLine(0, y, width() - 1, y);
    painter.drawLine(x, 0, x, height() - 1);
}

PicturePoint MagnifierView::toPicture(const QMouseEvent& event) const {
    const std::optional<ViewTransform> magnifier = transform();
    if (!magnifier)
        return {false, 0.0f, 0.0f};
    const ViewPoint at = magnifier->toPicture({event.position().x(), event.position().y()});
    const PixelSize picture = magnifier->pictureSize();
    return {IsOnPicture(at.x, at.y, picture.width, picture.height), static_cast<float>(at.x),
            static_cast<float>(at.y)};
}

void MagnifierView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        held_ = transform();
        emit pressed(toPicture(*event));
    }
    QFrame::mousePressEvent(event);
}

void MagnifierView::mouseMoveEvent(QMouseEvent* event) {
    if (held_)
        emit dragged(toPicture(*event));
    QFrame::mouseMoveEvent(event);
}

void MagnifierView::mouseReleaseEvent(QMouseEvent* event) {
    if (held_ && event->button() == Qt::LeftButton) {
        emit released(toPicture(*event));
        held_.reset();
        update();
    }
    QFrame::mouseReleaseEvent(event);
}

} // namespace kavelto

#include "MagnifierView.h"

#include "AssemblySession.h"
#include "BoardView.h"

#include <QFile>
#include <QPainter>

namespace kavelto {

MagnifierView::MagnifierView(const AssemblySession& session, BoardView& board, QWidget* parent)
    : QFrame(parent), session_(session), board_(board) {
    setFrameShape(QFrame::Box);
}

// Shows nothing while there is no marker or no picture drawn to take the square from.
void MagnifierView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ViewState& view = session_.view();
    if (view.bitmapLoaded && view.pictureDrawn && view.markerMode != MarkerMode::None) {
        const PictureCache::Picture picture = board_.pictures().picture(
            QFile::decodeName(view.bitmapPath.c_str()), view.viewRotation, view.mirrored);
        painter.fillRect(rect(), Qt::black);
        if (!picture.turned->isNull())
            paintSquare(painter, *picture.turned);
    }
    drawFrame(&painter);
}

// The square may reach beyond the picture; only its part on the picture is drawn, into the
// matching part of the pane, and the rest of the pane stays black.
void MagnifierView::paintSquare(QPainter& painter, const QImage& turned) const {
    const PixelRect square = MagnifierSource(session_.view());
    const QRectF source(square.left, square.top, square.width, square.height);
    const QRectF visible = source.intersected(QRectF(turned.rect()));
    if (visible.isEmpty() || source.isEmpty())
        return;
    const qreal sx = width() / source.width();
    const qreal sy = height() / source.height();
    const QRectF into((visible.left() - source.left()) * sx, (visible.top() - source.top()) * sy,
                      visible.width() * sx, visible.height() * sy);
    painter.drawImage(into, turned, visible);
}

} // namespace kavelto

#include "MagnifierView.h"

#include "BoardView.h"
#include "session/AssemblySession.h"

#include <QPainter>

namespace kavelto {

MagnifierView::MagnifierView(const AssemblySession& session, BoardView& board, QWidget* parent)
    : QFrame(parent), session_(session), board_(board) {
    setFrameShape(QFrame::Box);
    connect(&board.pictures(), &PictureCache::sharpened, this, [this] { update(); });
}

// Shows nothing while there is no marker or no picture drawn to take the square from. The
// square may reach beyond the picture; the pane stays black there.
void MagnifierView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ViewState& view = session_.view();
    if (view.bitmapLoaded && view.pictureDrawn && view.markerMode != MarkerMode::None) {
        painter.fillRect(rect(), Qt::black);
        const PixelRect square = MagnifierSource(view);
        board_.pictures().drawTurned(painter, QRectF(rect()),
                                     QRectF(square.left, square.top, square.width, square.height),
                                     view.viewRotation, view.mirrored);
    }
    drawFrame(&painter);
}

} // namespace kavelto

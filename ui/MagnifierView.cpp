#include "MagnifierView.h"

#include "BoardView.h"
#include "OutlinePainter.h"
#include "session/AssemblySession.h"

#include <QPainter>

namespace kavelto {

MagnifierView::MagnifierView(const AssemblySession& session, const BoardView& board,
                             QWidget* parent)
    : QFrame(parent), session_(session), board_(board) {
    setFrameShape(QFrame::Box);
    connect(&board.pictures(), &PictureCache::sharpened, this, [this] { update(); });
    connect(&board.pictures(), &PictureCache::undecodable, this, [this] { update(); });
}

// Shows nothing while there is no marker or no picture drawn to take the square from. The
// square may reach beyond the picture; the pane stays black there.
void MagnifierView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ViewState& view = session_.view();
    const std::optional<ViewTransform> board = BoardTransform(view);
    if (board && view.marker && !rect().isEmpty()) {
        painter.fillRect(rect(), Qt::black);
        const PixelRect square = MagnifierSource(*board, view.marker->at, view.zoomBoxSize);
        const ViewTransform zoomed = board->zoomed(square, {0, 0, width(), height()});
        board_.pictures().drawThrough(painter, zoomed);
        OutlinePainter(zoomed).paint(painter, board_.outlinesToDraw(board_.showsKindSpots()));
    }
    drawFrame(&painter);
}

} // namespace kavelto

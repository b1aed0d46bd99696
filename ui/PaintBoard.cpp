#include "PaintBoard.h"

#include "PictureCache.h"
#include "ViewGeometry.h"

#include <QPainter>
#include <QPen>

using kavelto::MarkerMode;
using kavelto::PixelRect;
using kavelto::ViewState;

namespace {

const QColor kUserPointPen(55, 255, 100);
const QColor kPartLocatedPen(255, 250, 155);
constexpr qreal kPenWidth = 4.0;

QRect ToQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

void DrawMarkerBox(QPainter& painter, const ViewState& view, const PixelRect& frame,
                   const kavelto::FitResult& fit) {
    const kavelto::BoxCorners box =
        kavelto::MarkerBox(view, frame, fit.drawnWidth, fit.drawnHeight);
    painter.setPen(QPen(view.markerMode == MarkerMode::UserPoint ? kUserPointPen : kPartLocatedPen,
                        kPenWidth));
    painter.drawLine(box.xLo, box.yLo, box.xHi, box.yLo);
    painter.drawLine(box.xLo, box.yHi, box.xHi, box.yHi);
    painter.drawLine(box.xLo, box.yLo, box.xLo, box.yHi);
    painter.drawLine(box.xHi, box.yLo, box.xHi, box.yHi);
}

// The magnified square may reach beyond the picture; only the part on the picture is drawn,
// into the matching part of the pane, and the rest of the pane stays black.
void DrawMagnifier(QPainter& painter, const ViewState& view, const PixelRect& pane,
                   const QImage& turned) {
    const QRect target = ToQRect(pane);
    painter.fillRect(target, Qt::black);
    const PixelRect square = kavelto::MagnifierSource(view);
    const QRectF source(square.left, square.top, square.width, square.height);
    const QRectF visible = source.intersected(QRectF(turned.rect()));
    if (visible.isEmpty() || source.isEmpty())
        return;
    const qreal sx = target.width() / source.width();
    const qreal sy = target.height() / source.height();
    const QRectF into(target.left() + (visible.left() - source.left()) * sx,
                      target.top() + (visible.top() - source.top()) * sy, visible.width() * sx,
                      visible.height() * sy);
    painter.drawImage(into, turned, visible);
}

} // namespace

void PaintBoard(QPainter& painter, ViewState& view, const PixelRect& frame,
                const PixelRect& magnifier, PictureCache& pictures) {
    if (!view.bitmapLoaded)
        return;
    const PictureCache::Picture picture =
        pictures.picture(QString::fromStdString(view.bitmapPath), view.viewRotation, view.mirrored);
    view.pictureWidth = picture.stored.width();
    view.pictureHeight = picture.stored.height();

    const kavelto::FitResult fit =
        kavelto::FitPicture(view.pictureWidth, view.pictureHeight, view.viewRotation, frame);
    for (const PixelRect& strip :
         kavelto::BackgroundStrips(frame, fit.drawnWidth, fit.drawnHeight, view.repaintAll))
        painter.fillRect(ToQRect(strip), Qt::black);
    view.repaintAll = false;
    // Without a drawn picture there is nothing to box or magnify.
    if (!fit.drawable)
        return;
    painter.drawImage(QPoint(frame.left, frame.top),
                      pictures.scaled(QSize(fit.drawnWidth, fit.drawnHeight)));
    view.scale = fit.scale;

    if (view.markerMode == MarkerMode::None)
        return;
    DrawMarkerBox(painter, view, frame, fit);
    DrawMagnifier(painter, view, magnifier, *picture.turned);
}

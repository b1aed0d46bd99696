#pragma once

#include "OutlineSprites.h"
#include "PictureCache.h"
#include "geometry/PixelRect.h"
#include "geometry/ViewGeometry.h"
#include "packages/OutlinesToDraw.h"

#include <QFrame>

class QTimer;

namespace kavelto {

class AssemblySession;

// The board picture: the picture turned and mirrored as the view says, fitted into the frame
// at its top-left corner over black, with the marker's box. It opens the picture the session
// names, telling the session its size, and reports presses and drags on it in picture pixels.
// Its paint draws the session's state and the pixels decoded so far, and changes nothing.
class BoardView : public QFrame {
    Q_OBJECT
public:
    BoardView(AssemblySession& session, QWidget* parent);

    // Opens the picture the session names, or forgets the one shown when it names none: the
    // session learns its size at once, and its pixels are decoded off the window's thread.
    void openPicture();

    // The decoded picture, shared with the magnifier.
    const PictureCache& pictures() const { return pictures_; }

    // Shows a notice for a moment in a banner over the frame's top edge.
    void showBanner(const QString& text);

    // Marks the other parts of the selected part's kind beside the marker's box.
    void setShowKindSpots(bool show);
    // The outlines and pin 1 marks drawn over the picture, as the workbench made them for the
    // state shown.
    const std::vector<DrawnOutline>& outlines() const { return outlines_; }
    void showOutlines(std::vector<DrawnOutline> outlines);
    bool showsKindSpots() const { return showKindSpots_; }
    // The pixels, the turn, the mirror or the frame changed: what is drawn is made again, so
    // that a paint only copies it.
    void viewChanged();

signals:
    // Presses on the picture, and those on the magnifier that the window passes on.
    void pressed(const kavelto::PicturePoint& point);
    void dragged(const kavelto::PicturePoint& point);
    void released(const kavelto::PicturePoint& point);
    // A press with Ctrl held, asking which part lies there.
    void identifyRequested(const kavelto::PicturePoint& point);
    // Ctrl and the wheel at a window point, in steps (negative away from the user's zoom in),
    // and a drag with the middle button, by window pixels.
    void zoomRequested(int x, int y, int steps);
    void panRequested(int dx, int dy);
    // The picture opened can't be shown: the box that says why.
    void cantShow(const kavelto::UserMessage& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void paintPicture(QPainter& painter, const ViewState& view) const;
    void paintMarkerBox(QPainter& painter, const ViewTransform& board, const Marker& marker) const;
    void paintKindSpots(QPainter& painter, const ViewTransform& board) const;
    void paintProgress(QPainter& painter) const;
    void paintBanner(QPainter& painter) const;
    void pictureUndecodable();
    void tellRefusal();
    PicturePoint toPicture(const QMouseEvent& event) const;

    AssemblySession& session_;
    PictureCache pictures_;
    bool showKindSpots_ = false;
    QString banner_;
    QPoint panFrom_; // where the middle button's drag was last reported
    QTimer* bannerTimer_;
    std::vector<DrawnOutline> outlines_;
    // Pictures of the outlines, kept between paints as a decoded picture is.
    mutable OutlineSprites sprites_;
};

} // namespace kavelto

#pragma once

#include "PictureCache.h"
#include "geometry/PixelRect.h"
#include "geometry/ViewGeometry.h"
#include "packages/OutlinesToDraw.h"

#include <QFrame>

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

    // Marks the other parts of the selected part's kind beside the marker's box.
    void setShowKindSpots(bool show);
    // The outlines and pin 1 marks drawn over the picture, with the kind's when asked.
    std::vector<DrawnOutline> outlinesToDraw(bool withKind) const;
    bool showsKindSpots() const { return showKindSpots_; }
    // The board file's exact shapes, which the outlines take where they have one.
    void setExactShapes(const ExactShapes* shapes);
    // The pixels, the turn, the mirror or the frame changed: what is drawn is made again, so
    // that a paint only copies it.
    void viewChanged();

signals:
    void pressed(const kavelto::PicturePoint& point);
    void dragged(const kavelto::PicturePoint& point);
    void released(const kavelto::PicturePoint& point);
    // A press with Ctrl held, asking which part lies there.
    void identifyRequested(const kavelto::PicturePoint& point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintPicture(QPainter& painter, const ViewState& view) const;
    void paintMarkerBox(QPainter& painter, const ViewTransform& board, const Marker& marker) const;
    void paintKindSpots(QPainter& painter, const ViewTransform& board) const;
    void paintProgress(QPainter& painter) const;
    void pictureUndecodable();
    PicturePoint toPicture(const QMouseEvent& event) const;

    AssemblySession& session_;
    PictureCache pictures_;
    bool showKindSpots_ = false;
    const ExactShapes* exactShapes_ = nullptr;
};

} // namespace kavelto

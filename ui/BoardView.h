#pragma once

#include "PictureCache.h"
#include "geometry/PixelRect.h"
#include "geometry/ViewGeometry.h"

#include <QFrame>

namespace kavelto {

class AssemblySession;

// The board picture: the picture turned and mirrored as the view says, fitted into the frame
// at its top-left corner over black, with the marker's box. It tells the session how it drew
// the picture, and reports presses and drags on it in picture pixels.
class BoardView : public QFrame {
    Q_OBJECT
public:
    BoardView(AssemblySession& session, QWidget* parent);

    // The decoded picture, shared with the magnifier.
    PictureCache& pictures() { return pictures_; }

    // Marks the other parts of the selected part's kind beside the marker's box.
    void setShowKindSpots(bool show);

    PixelRect frame() const { return {0, 0, width(), height()}; }

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
    void paintPicture(QPainter& painter);
    void paintMarkerBox(QPainter& painter, const FitResult& fit) const;
    void paintKindSpots(QPainter& painter) const;
    void paintProgress(QPainter& painter) const;
    PicturePoint toPicture(const QMouseEvent& event) const;

    AssemblySession& session_;
    PictureCache pictures_;
    bool showKindSpots_ = false;
};

} // namespace kavelto

#pragma once

#include "OutlineSprites.h"
#include "geometry/ViewGeometry.h"

#include <QFrame>

#include <optional>

namespace kavelto {

class AssemblySession;
class BoardView;

// The magnifier: the picture around the marker in its own proportions over the whole pane, with
// a thin crosshair on the marker's pixel. A press or drag on it moves the pressed point there,
// at the magnifier's resolution: while the button is held the pane keeps showing the area it
// showed at the press, so that the point follows the pointer instead of the picture.
class MagnifierView : public QFrame {
    Q_OBJECT
public:
    MagnifierView(const AssemblySession& session, const BoardView& board, QWidget* parent);

signals:
    void pressed(const kavelto::PicturePoint& point);
    void dragged(const kavelto::PicturePoint& point);
    void released(const kavelto::PicturePoint& point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The pane's transform: the one held since a press, else the one around the marker now.
    std::optional<ViewTransform> transform() const;
    PicturePoint toPicture(const QMouseEvent& event) const;
    void paintCrosshair(QPainter& painter, const ViewTransform& magnifier) const;

    const AssemblySession& session_;
    const BoardView& board_;
    std::optional<ViewTransform> held_;
    OutlineSprites sprites_;
};

} // namespace kavelto

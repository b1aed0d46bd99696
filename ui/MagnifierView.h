#pragma once

#include <QFrame>

namespace kavelto {

class AssemblySession;
class BoardView;

// The magnifier: the square under the marker's box, stretched over the whole pane.
class MagnifierView : public QFrame {
    Q_OBJECT
public:
    MagnifierView(const AssemblySession& session, const BoardView& board, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const AssemblySession& session_;
    const BoardView& board_;
};

} // namespace kavelto

#pragma once

#include <QDialog>

class QKeyEvent;

namespace kavelto {

// Shows the picture of the keypad shortcuts, and below it the other keys and gestures; Esc,
// Enter or the close box close it.
class CKeymapDlg : public QDialog {
    Q_OBJECT

public:
    explicit CKeymapDlg(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kavelto

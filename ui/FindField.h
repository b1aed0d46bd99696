#pragma once

#include <QLineEdit>

class QCompleter;

namespace kavelto {

// A small field of its own window for typing a designator: Enter asks for the part, Esc closes
// the field and nothing else. Being a window of its own, the main window's shortcut keys leave
// its keys alone.
class FindField : public QLineEdit {
    Q_OBJECT
public:
    explicit FindField(QWidget* owner);

    // Opens below the given point of the screen, offering the designators as they are typed.
    void open(const QPoint& at, const QStringList& designators);
    // Shows that the text names no part, until the next key.
    void showNotFound();

signals:
    void findRequested(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QCompleter* completer_;
};

} // namespace kavelto

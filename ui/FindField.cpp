#include "FindField.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QStringListModel>

namespace kavelto {

FindField::FindField(QWidget* owner) : QLineEdit(owner), completer_(new QCompleter(this)) {
    setObjectName(QStringLiteral("findField"));
    setAccessibleName(QStringLiteral("Find part"));
    setPlaceholderText(QStringLiteral("Part ID"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setModel(new QStringListModel(completer_));
    setCompleter(completer_);
    // A choice from the offered designators finds that part at once.
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            &FindField::findRequested);
}

void FindField::open(const QPoint& at, const QStringList& designators) {
    static_cast<QStringListModel*>(completer_->model())->setStringList(designators);
    clear();
    setStyleSheet(QString());
    move(at);
    show();
    activateWindow();
    setFocus();
}

// The main window takes the keys again once the field is gone.
void FindField::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    completer_->popup()->hide();
    if (parentWidget())
        parentWidget()->activateWindow();
}

void FindField::showNotFound() {
    setStyleSheet(QStringLiteral("QLineEdit { background: #ffd0d0; }"));
}

void FindField::keyPressEvent(QKeyEvent* event) {
    setStyleSheet(QString());
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit findRequested(text());
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace kavelto

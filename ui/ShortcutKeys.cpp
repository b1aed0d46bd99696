#include "ShortcutKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kavelto {

std::optional<NavigationKey> NavigationKeyOf(ShortcutAction action) {
    switch (action) {
    case ShortcutAction::PageUp:
        return NavigationKey::PageUp;
    case ShortcutAction::PageDown:
        return NavigationKey::PageDown;
    case ShortcutAction::End:
        return NavigationKey::End;
    case ShortcutAction::Home:
        return NavigationKey::Home;
    case ShortcutAction::Up:
        return NavigationKey::Up;
    case ShortcutAction::Down:
        return NavigationKey::Down;
    default:
        return std::nullopt;
    }
}

std::optional<ShortcutAction> ShortcutFor(const QKeyEvent& event) {
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const bool plain =
        !(event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ShortcutAction::PlaceUnplace;
    case Qt::Key_PageUp:
        return ShortcutAction::PageUp;
    case Qt::Key_PageDown:
        return ShortcutAction::PageDown;
    case Qt::Key_End:
        return ShortcutAction::End;
    case Qt::Key_Home:
        return ShortcutAction::Home;
    case Qt::Key_Up:
        return ShortcutAction::Up;
    case Qt::Key_Down:
        return ShortcutAction::Down;
    case Qt::Key_Delete:
        return ShortcutAction::NextUnplaced;
    case Qt::Key_Asterisk:
        return keypad ? std::optional(ShortcutAction::RotateRight) : std::nullopt;
    case Qt::Key_Plus:
        return keypad ? std::optional(ShortcutAction::ZoomIn) : std::nullopt;
    case Qt::Key_Minus:
        return keypad ? std::optional(ShortcutAction::ZoomOut) : std::nullopt;
    case Qt::Key_Slash:
        return keypad ? std::optional(ShortcutAction::RotateLeft) : std::nullopt;
    case Qt::Key_Insert:
        return plain ? std::optional(ShortcutAction::AddCalPoint) : std::nullopt;
    default:
        return std::nullopt;
    }
}

ShortcutKeys::ShortcutKeys(QWidget& window, std::function<void(ShortcutAction)> act)
    : QObject(&window), window_(window), act_(std::move(act)) {
    qApp->installEventFilter(this);
}

bool ShortcutKeys::eventFilter(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
        return false;
    if (static_cast<QWidget*>(receiver)->window() != &window_)
        return false;
    const std::optional<ShortcutAction> action = ShortcutFor(*static_cast<QKeyEvent*>(event));
    if (!action)
        return false;
    act_(*action);
    return true;
}

} // namespace kavelto

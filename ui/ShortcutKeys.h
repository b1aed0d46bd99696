#pragma once

#include "parts/Navigation.h"

#include <QObject>

#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace kavelto {

enum class ShortcutAction {
    PlaceUnplace,
    PageUp,
    PageDown,
    End,
    Home,
    Up,
    Down,
    NextUnplaced,
    RotateRight,
    ZoomIn,
    ZoomOut,
    RotateLeft,
    AddCalPoint,
};

// The list movement an action stands for, or nothing for the other actions.
std::optional<NavigationKey> NavigationKeyOf(ShortcutAction action);

// The action of a key, or nothing. Only the numeric keypad's + - * / count, and Insert only
// without Shift, Control or Alt, which make it the edit fields' paste and copy.
std::optional<ShortcutAction> ShortcutFor(const QKeyEvent& event);

// Takes the shortcut keys addressed to one window or any of its controls before the control
// sees them, and consumes them even when their action does nothing. Keys addressed to other
// windows (message boxes, file choosers, small windows) pass.
class ShortcutKeys : public QObject {
    Q_OBJECT
public:
    ShortcutKeys(QWidget& window, std::function<void(ShortcutAction)> act);

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    QWidget& window_;
    std::function<void(ShortcutAction)> act_;
};

} // namespace kavelto

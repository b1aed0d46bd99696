#pragma once

#include "app/CommandId.h"
#include "app/KeyBinding.h"

#include <QObject>

#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace kavelto {

// The key as the command table names it, or nothing for a key no command can have.
std::optional<KeyPress> KeyPressOf(const QKeyEvent& event);

// Takes the keys of the command table addressed to one window or any of its controls before the
// control sees them, and consumes them even when their command does nothing. Keys addressed to
// other windows (message boxes, file choosers, small windows) pass.
class ShortcutKeys : public QObject {
    Q_OBJECT
public:
    ShortcutKeys(QWidget& window, std::function<void(CommandId)> run);

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    QWidget& window_;
    std::function<void(CommandId)> run_;
};

} // namespace kavelto

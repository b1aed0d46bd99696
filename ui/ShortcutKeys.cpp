#include "ShortcutKeys.h"

#include "app/CommandTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kavelto {

namespace {

std::optional<Key> KeyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Return;
    case Qt::Key_PageUp:
        return Key::PageUp;
    case Qt::Key_PageDown:
        return Key::PageDown;
    case Qt::Key_Home:
        return Key::Home;
    case Qt::Key_End:
        return Key::End;
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Down:
        return Key::Down;
    case Qt::Key_Delete:
        return Key::Delete;
    case Qt::Key_Insert:
        return Key::Insert;
    case Qt::Key_Asterisk:
        return Key::Asterisk;
    case Qt::Key_Plus:
        return Key::Plus;
    case Qt::Key_Minus:
        return Key::Minus;
    case Qt::Key_Slash:
        return Key::Slash;
    case Qt::Key_F:
        return Key::F;
    case Qt::Key_Z:
        return Key::Z;
    case Qt::Key_Left:
        return Key::Left;
    case Qt::Key_Right:
        return Key::Right;
    case Qt::Key_0:
        return Key::Zero;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<KeyPress> KeyPressOf(const QKeyEvent& event) {
    const std::optional<Key> key = KeyOf(event.key());
    if (!key)
        return std::nullopt;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    KeyPress press{*key};
    press.keypad = modifiers.testFlag(Qt::KeypadModifier);
    press.shift = modifiers.testFlag(Qt::ShiftModifier);
    press.control = modifiers.testFlag(Qt::ControlModifier);
    press.alt = modifiers.testFlag(Qt::AltModifier);
    return press;
}

ShortcutKeys::ShortcutKeys(QWidget& window, std::function<void(CommandId)> run)
    : QObject(&window), window_(window), run_(std::move(run)) {
    qApp->installEventFilter(this);
}

bool ShortcutKeys::eventFilter(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
        return false;
    if (static_cast<QWidget*>(receiver)->window() != &window_)
        return false;
    const std::optional<KeyPress> press = KeyPressOf(*static_cast<QKeyEvent*>(event));
    const CommandRow* command = press ? CommandForKey(*press) : nullptr;
    if (!command)
        return false;
    run_(command->id);
    return true;
}

} // namespace kavelto

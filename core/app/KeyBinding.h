#pragma once

namespace kavelto {

// The keys that commands are bound to. Return stands for both Enter keys; the navigation
// keys, Insert and Delete are those of the main keyboard and, with Num Lock off, the keypad's.
enum class Key {
    Return,
    PageUp,
    PageDown,
    Home,
    End,
    Up,
    Down,
    Delete,
    Insert,
    Asterisk,
    Plus,
    Minus,
    Slash,
    F,
    Z,
    Left,
    Right,
    Zero,
};

// Which presses of the key count.
enum class KeyScope {
    AnyModifiers, // the window takes the key whatever else is held
    KeypadOnly,   // the numeric keypad's key alone, not the main keyboard's sign
    Plain,        // without Shift, Control or Alt, which give the key to the edit fields
    Control,      // with Control held
    ControlShift, // with Control and Shift held
    Alt,          // with Alt alone held
};

struct KeyBinding {
    Key key;
    KeyScope scope;
};

// A key as the user pressed it.
struct KeyPress {
    Key key;
    bool keypad = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

bool Matches(const KeyBinding& binding, const KeyPress& press);

} // namespace kavelto

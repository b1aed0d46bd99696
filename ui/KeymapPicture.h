#pragma once

#include <QImage>

namespace kavelto {

// The shortcut picture: a numeric keypad, each key with its usual legend in black and, where a
// command of the main window is bound to the key, that command's legend in red.
QImage KeymapPicture();

} // namespace kavelto

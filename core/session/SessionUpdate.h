#pragma once

#include "base/UserMessage.h"
#include "parts/Navigation.h"

#include <optional>

namespace kavelto {

// How soon the board view must be drawn again: Now when the user must see the marker move
// before anything else happens (a message box may follow), Soon for the next paint.
enum class Repaint { None, Soon, Now };

// What the window does after an operation of the session, in this order: scroll the revealed
// row into view, repaint, show the message, refresh its fields.
struct SessionUpdate {
    int reveal = kNoRow;
    Repaint repaint = Repaint::None;
    std::optional<UserMessage> message;
    bool refreshFields = false;
};

} // namespace kavelto

#pragma once

#include "base/UserMessage.h"
#include "parts/Navigation.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace kavelto {

// How soon the board view must be drawn again: Now when the user must see the marker move
// before anything else happens (a message box may follow), Soon for the next paint. Each
// comes after the less urgent ones.
enum class Repaint { None, Soon, Now };

// What the window does after an operation of the session, in this order: scroll the revealed
// row into view, repaint, show the message, refresh its fields. Built by the named setters
// below, which say what each value means where it is made.
struct SessionUpdate {
    std::optional<int> reveal;
    Repaint repaint = Repaint::None;
    std::optional<UserMessage> message;
    bool refreshFields = false;

    // A user-provided constructor keeps the outcome from being built positionally; "= default"
    // would leave it an aggregate.
    SessionUpdate() {} // NOLINT(modernize-use-equals-default)

    SessionUpdate& revealRow(int row) {
        reveal = row;
        return *this;
    }
    // Two reasons to repaint give the more urgent of the two: a repaint asked for Now is never
    // put off by a later Soon.
    SessionUpdate& repaintAtLeast(Repaint when) {
        repaint = std::max(repaint, when);
        return *this;
    }
    SessionUpdate& tell(std::optional<UserMessage> told) {
        message = std::move(told);
        return *this;
    }
    SessionUpdate& refreshingFields() {
        refreshFields = true;
        return *this;
    }
};

} // namespace kavelto

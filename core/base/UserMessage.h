#pragma once

#include <string>

namespace kavelto {

enum class MessageButtons { Ok, OkCancel, YesNo, RetryCancel };
enum class MessageIcon { None, Stop, Exclamation, Information };
// The button the user pressed to close a box.
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// A modal message box that the window shows. The text is UTF-8.
struct UserMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    bool operator==(const UserMessage& other) const {
        return text == other.text && caption == other.caption && buttons == other.buttons &&
               icon == other.icon;
    }
};

// The program's own errors: caption "Error", a stop icon and an OK button.
inline UserMessage ErrorMessage(std::string text) {
    return {std::move(text), "Error", MessageButtons::Ok, MessageIcon::Stop};
}

} // namespace kavelto

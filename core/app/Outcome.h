#pragma once

#include "PickList.h"
#include "app/CommandId.h"
#include "app/SheetsPicture.h"
#include "base/TableCells.h"
#include "base/UserMessage.h"
#include "parts/Face.h"
#include "session/SessionUpdate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// A question whose one answer goes on with another command; any other answer ends it.
struct Prompt {
    UserMessage message;
    MessageAnswer answer = MessageAnswer::Ok;
    CommandId next = CommandId::Ok;
};

// A document or web address for the desktop to open, and what to ask or tell when nothing
// opens it.
struct OpenRequest {
    std::string target;
    bool isUrl = false;
    std::optional<Prompt> onFailure;
    std::optional<UserMessage> tellOnFailure;
};

// A list to choose one entry of; the choice goes on with another command, which gets the entry.
struct Choice {
    std::string title;
    std::vector<std::string> entries;
    CommandId next = CommandId::Ok;
};

// A small table for the user to edit, its cells as text under the columns' names; the table as
// left goes on with another command, which gets it.
struct TableEdit {
    std::string title;
    std::vector<std::string> columns;
    TableCells rows;
    CommandId next = CommandId::Ok;
};

// The sheets for gathering and placing the parts of a face, for the window to print into a PDF
// at path and open.
struct SheetsRequest {
    std::string path;
    std::string placementPath;
    std::string date; // as the cover shows it
    Face face = Face::Top;
    std::uint32_t pcbCount = 1;
    bool spares = false;
    std::vector<PickListItem> items;
    // For the blocks' thumbnails, while a calibration is in force.
    std::optional<SheetsPicture> picture;
};

// The small windows the main window runs over itself.
enum class SmallWindow { None, About, Keymap };

// What the window does after a command, in this order: open the picture chosen, scroll the
// revealed row into view, repaint, show the messages, ask the prompt, offer the choice or the
// table, fill the
// clipboard, open the document, run the small window or open the find field, focus the count
// field, refresh its fields, close.
struct Outcome {
    // The board's picture is another file now: the window opens it to learn its size and
    // decode it.
    bool pictureChanged = false;
    SessionUpdate update;
    std::vector<UserMessage> messages;
    // A notice shown for a moment in a banner over the picture, instead of a box.
    std::optional<std::string> banner;
    std::optional<Prompt> prompt;
    std::optional<Choice> choice;
    std::optional<TableEdit> tableEdit;
    std::optional<std::string> clipboardText;
    std::optional<OpenRequest> open;
    // Written before the document is opened; the document is not opened when this fails.
    std::optional<SheetsRequest> sheets;
    SmallWindow window = SmallWindow::None;
    bool openFindField = false;
    bool findFailed = false;
    bool focusPcbCount = false;
    bool closeWindow = false;

    Outcome() = default;
    explicit Outcome(SessionUpdate sessionUpdate);

    // Takes the session's update, its message after those already here.
    void take(SessionUpdate sessionUpdate);
};

} // namespace kavelto

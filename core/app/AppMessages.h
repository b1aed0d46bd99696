#pragma once

#include "base/UserMessage.h"

#include <string>

namespace kavelto {

// The boxes that the application layer shows, and the window's caption, each worded here once.

// "Kavelto, offered by <maker> (<site>) - version <version>".
std::string WindowCaption();

// The PCB count's field holds no count; the box is captioned with the program's name.
UserMessage CountRefusal(const std::string& programName);

UserMessage UnplaceAllQuestion();

// The logo's question whether to visit the maker's web site.
UserMessage MakerSiteQuestion();

// No manual could be opened; Retry looks again.
UserMessage ManualMissing();

// The sheets' PDF could not be written.
UserMessage SheetsNotWritten();

} // namespace kavelto

#pragma once

#include "base/UserMessage.h"

#include <optional>
#include <string>

namespace kavelto {

// The boxes that the application layer shows, and the window's caption, each worded here once.

// "Kavelto, offered by <maker> (<site>) - version <version>".
std::string WindowCaption();

// The title bar: the names of the files loaded, without their folders, before the caption:
// "coldfire.csv, coldfire-top.jpg — " and then WindowCaption().
std::string WindowTitle(const std::optional<std::string>& placementPath,
                        const std::optional<std::string>& picturePath);

// The PCB count's field holds no count; the box is captioned with the program's name.
UserMessage CountRefusal(const std::string& programName);

UserMessage UnplaceAllQuestion();

// The logo's question whether to visit the maker's web site.
UserMessage MakerSiteQuestion();

// No manual could be opened; Retry looks again.
UserMessage ManualMissing();
// The manual is there but no program took it: the box names it whole; Retry tries again.
UserMessage ManualNotOpened(const std::string& path);
// No browser took the pick list's page: the box names it whole.
UserMessage PageNotOpened(const std::string& path);
// The sheets were written but no program took them.
UserMessage SheetsNotOpened(const std::string& path);

// A box's text on one line, for the banner over the picture: "New part !   Item# 5   100nF,
// C_0805".
std::string BannerText(const UserMessage& message);

// ---- start-up

// What --help prints, and --version.
std::string UsageText();
std::string VersionText();
// The line printed before the hint to try --help, when the arguments can't be used.
std::string UnknownOptionText(const std::string& option);
std::string TooManyArgumentsText();
std::string BomFileMissingText();
std::string NotAFolderText(const std::string& path);
std::string TryHelpText();

// No Kavelto.ini in the working folder nor in the user's configuration folder: the box names
// both and asks whether to create the user's.
UserMessage ColumnMapOffer(const std::string& workingFolder, const std::string& userFile);
// The same where there is no configuration folder to create one in.
UserMessage ColumnMapMissing(const std::string& workingFolder);
UserMessage CantCreateColumnMap(const std::string& path, const std::string& reason);

// The sheets' PDF could not be written.
UserMessage SheetsNotWritten();

} // namespace kavelto

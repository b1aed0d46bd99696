#pragma once

#include "base/UserMessage.h"

#include <string>

namespace kavelto {

struct KeptSession;

// What keeping tells the user, worded here alone.

// A kept session could not be written: the file or folder and the system's reason.
UserMessage CantKeepMessage(const std::string& path, const std::string& reason);

// A kept session that fails its checks: damaged on the disk or by hand, it was passed over.
UserMessage DamagedSessionMessage(const std::string& path);

// No folder to keep sessions in could be found for the user.
UserMessage NoStateFolderMessage();

// Another window, of this program or another run of it, keeps the board loaded here.
UserMessage OpenElsewhereMessage();
// The placement file just loaded could not be read again for its content's hash.
UserMessage NotReadAgainMessage(const std::string& placementPath);
// No lock could be had on the kept sessions: keeping goes on unguarded.
UserMessage UnlockedMessage(const std::string& lockPath, const std::string& reason);

// "Restore session (3 + 0 of 146 + 14 placed, 14:02)", the placed and all parts of the top face
// and then the bottom one, the time in local time; "(37 of 146 placed, 14:02)", the face shown
// alone, for a session kept before both were counted.
std::string RestoreCaption(const KeptSession& kept);

// "Restore session by designators (37 of 146 placed, 14:02)", the time in local time.
std::string DesignatorsCaption(const KeptSession& kept);

// The entry, and the title of the list, of the sessions kept before.
inline constexpr const char* kRestoreEarlierTitle = "Restore an earlier session...";
// "2026-12-07 14:02: 37 of 146 placed, calibrated", the time in local time.
std::string HistoryEntry(const KeptSession& kept);

} // namespace kavelto

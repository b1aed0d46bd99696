#include "keeping/KeepingMessages.h"

#include "keeping/KeptSession.h"

#include <ctime>

namespace kavelto {

UserMessage CantKeepMessage(const std::string& path, const std::string& reason) {
    return ErrorMessage("Can't keep the session in " + path + ": " + reason);
}

UserMessage DamagedSessionMessage(const std::string& path) {
    return ErrorMessage("The kept session " + path + " is damaged and was not used");
}

UserMessage NoStateFolderMessage() {
    return ErrorMessage("Can't keep the session: neither XDG_STATE_HOME nor HOME names a folder, "
                        "and the user has no home folder. Nothing of this board is kept.");
}

UserMessage NotReadAgainMessage(const std::string& placementPath) {
    return ErrorMessage("Can't read " + placementPath +
                        " again to keep its session: nothing of this board is kept.");
}

UserMessage UnlockedMessage(const std::string& lockPath, const std::string& reason) {
    return {"Can't lock " + lockPath + ": " + reason +
                ". The session is kept, but another window on this board could overwrite it.",
            "Kavelto", MessageButtons::Ok, MessageIcon::Exclamation};
}

UserMessage OpenElsewhereMessage() {
    return {"This board is open in another window: this window keeps nothing of it.", "Kavelto",
            MessageButtons::Ok, MessageIcon::Exclamation};
}

namespace {

// The time a session was kept, in local time, in the format given.
std::string SavedAt(const KeptSession& kept, const char* format) {
    const std::time_t saved = static_cast<std::time_t>(kept.savedAt);
    std::tm local{};
    char time[32] = "";
    if (localtime_r(&saved, &local))
        std::strftime(time, sizeof time, format, &local);
    return time;
}

std::string PlacedCount(const KeptSession& kept) {
    return std::to_string(kept.placedOnFace) + " of " + std::to_string(kept.faceCount) + " placed";
}

// Both faces where they were counted, else the face shown.
std::string ProgressText(const KeptSession& kept) {
    if (const std::optional<FaceProgress>& faces = kept.faces)
        return std::to_string(faces->placedTop) + " + " + std::to_string(faces->placedBottom) +
               " of " + std::to_string(faces->partsTop) + " + " +
               std::to_string(faces->partsBottom) + " placed";
    return PlacedCount(kept);
}

} // namespace

std::string RestoreCaption(const KeptSession& kept) {
    return "Restore session (" + ProgressText(kept) + ", " + SavedAt(kept, "%H:%M") + ")";
}

std::string DesignatorsCaption(const KeptSession& kept) {
    return "Restore session by designators (" + PlacedCount(kept) + ", " + SavedAt(kept, "%H:%M") +
           ")";
}

std::string HistoryEntry(const KeptSession& kept) {
    return SavedAt(kept, "%Y-%m-%d %H:%M") + ": " + PlacedCount(kept) +
           (kept.calibration.state != CalState::None ? ", calibrated" : "");
}

} // namespace kavelto

#include "keeping/KeepingMessages.h"

#include "keeping/KeptSession.h"

#include <ctime>

namespace kavelto {

UserMessage CantKeepMessage(const std::string& path, const std::string& reason) {
    return ErrorMessage("Can't keep the session in " + path + ": " + reason);
}

UserMessage OpenElsewhereMessage() {
    return {"This board is open in another window: this window keeps nothing of it.", "Kavelto",
            MessageButtons::Ok, MessageIcon::Exclamation};
}

namespace {

// Both faces where they were counted, else the face shown.
std::string ProgressText(const KeptSession& kept) {
    if (const std::optional<FaceProgress>& faces = kept.faces)
        return std::to_string(faces->placedTop) + " + " + std::to_string(faces->placedBottom) +
               " of " + std::to_string(faces->partsTop) + " + " +
               std::to_string(faces->partsBottom);
    return std::to_string(kept.placedOnFace) + " of " + std::to_string(kept.faceCount);
}

} // namespace

std::string RestoreCaption(const KeptSession& kept) {
    const std::time_t saved = static_cast<std::time_t>(kept.savedAt);
    std::tm local{};
    char time[16] = "";
    if (localtime_r(&saved, &local))
        std::strftime(time, sizeof time, "%H:%M", &local);
    return "Restore session (" + ProgressText(kept) + " placed, " + time + ")";
}

} // namespace kavelto

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

UserMessage OpenElsewhereMessage() {
    return {"This board is open in another window: this window keeps nothing of it.", "Kavelto",
            MessageButtons::Ok, MessageIcon::Exclamation};
}

std::string RestoreCaption(const KeptSession& kept) {
    const std::time_t saved = static_cast<std::time_t>(kept.savedAt);
    std::tm local{};
    char time[16] = "";
    if (localtime_r(&saved, &local))
        std::strftime(time, sizeof time, "%H:%M", &local);
    return "Restore session (" + std::to_string(kept.placedOnFace) + " of " +
           std::to_string(kept.faceCount) + " placed, " + time + ")";
}

} // namespace kavelto

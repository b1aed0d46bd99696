#include "session/SessionTexts.h"

namespace kavelto {

std::string PkpText(int partCount) {
    return partCount > 0 ? std::to_string(partCount) + " parts loaded" : "no parts found";
}

std::string PartsPerFaceText(int faceCount) {
    return std::to_string(faceCount) + " parts/face";
}

UserMessage NewPartNotice(int itemNumber, const std::string& value, const std::string& package,
                          const std::string& mpn) {
    std::string text =
        "New part !\n\nItem# " + std::to_string(itemNumber) + "\n" + value + ", " + package;
    if (!mpn.empty())
        text += "\nMPN " + mpn;
    return {text, "Placement", MessageButtons::Ok, MessageIcon::None};
}

UserMessage CalibrationNotRestored(const std::string& path) {
    return ErrorMessage("The picture " + path +
                        " changed since it was calibrated: the marks are back, the calibration "
                        "is not. Calibrate again.");
}

namespace {

// The names, comma-separated; beyond a screenful, how many more there are.
std::string Listed(const std::vector<std::string>& names) {
    constexpr std::size_t kMostListed = 30;
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kMostListed; ++i)
        text += (i > 0 ? ", " : "") + names[i];
    if (names.size() > kMostListed)
        text += " and " + std::to_string(names.size() - kMostListed) + " more";
    return text;
}

} // namespace

UserMessage MarksByDesignatorsNotice(const std::vector<std::string>& gone,
                                     const std::vector<std::string>& changed) {
    std::string text = "The marks were restored by designator.";
    if (!gone.empty())
        text += "\n\nNo longer in the file, not restored: " + Listed(gone) + ".";
    if (!changed.empty())
        text +=
            "\n\nPlaced under another value or package, to be looked at: " + Listed(changed) + ".";
    return ErrorMessage(std::move(text));
}

UserMessage NothingPlacedInProgress() {
    return ErrorMessage("The progress file lists no part as placed.");
}

UserMessage ProgressNotAllMarked(const std::vector<std::string>& notFound,
                                 const std::vector<std::string>& notFitted) {
    std::string text = "Not every part the progress file lists as placed was marked placed.";
    if (!notFound.empty())
        text += "\n\nNot found on their face in this placement file: " + Listed(notFound) + ".";
    if (!notFitted.empty())
        text += "\n\nNot fitted, left unplaced: " + Listed(notFitted) + ".";
    return ErrorMessage(std::move(text));
}

UserMessage FitReport(std::string text) {
    return {std::move(text), "Calibration", MessageButtons::Ok, MessageIcon::Information};
}

} // namespace kavelto

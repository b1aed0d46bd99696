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

UserMessage FitReport(std::string text) {
    return {std::move(text), "Calibration", MessageButtons::Ok, MessageIcon::Information};
}

} // namespace kavelto

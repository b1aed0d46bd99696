#include "session/SessionTexts.h"

namespace kavelto {

std::string PkpText(int partCount) {
    return partCount > 0 ? std::to_string(partCount) + " parts loaded" : "no parts found";
}

std::string PartsPerFaceText(int faceCount) {
    return std::to_string(faceCount) + " parts/face";
}

UserMessage NewPartNotice(int itemNumber, const std::string& value, const std::string& package) {
    return {"New part !\n\nItem# " + std::to_string(itemNumber) + "\n" + value + ", " + package,
            "Placement", MessageButtons::Ok, MessageIcon::None};
}

UserMessage CalibrationNotRestored(const std::string& path) {
    return ErrorMessage("The picture " + path +
                        " changed since it was calibrated: the marks are back, the calibration "
                        "is not. Calibrate again.");
}

UserMessage FitReport(std::string text) {
    return {std::move(text), "Calibration", MessageButtons::Ok, MessageIcon::Information};
}

} // namespace kavelto

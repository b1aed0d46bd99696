#include "app/AppMessages.h"

#include "base/AppIdentity.h"

#include <algorithm>

namespace kavelto {

std::string WindowCaption() {
    return std::string("Kavelto, offered by ") + kMakerName + " (" + kMakerSite + ") - version " +
           kProgramVersion;
}

namespace {

std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string WindowTitle(const std::optional<std::string>& placementPath,
                        const std::optional<std::string>& picturePath) {
    std::string names;
    for (const std::optional<std::string>& path : {placementPath, picturePath})
        if (path)
            names += (names.empty() ? "" : ", ") + FileName(*path);
    return names.empty() ? WindowCaption() : names + " \u2014 " + WindowCaption();
}

UserMessage CountRefusal(const std::string& programName) {
    return {"Please enter a positive integer.", programName, MessageButtons::Ok,
            MessageIcon::Exclamation};
}

UserMessage UnplaceAllQuestion() {
    return {"Unplace all components on both sides ?", "Please confirm", MessageButtons::OkCancel,
            MessageIcon::Exclamation};
}

UserMessage MakerSiteQuestion() {
    const std::string maker = kMakerName;
    return {"Kavelto is free software: use it as you like.\nIt is offered by " + maker +
                ".\n\nDo you want to visit the " + maker + " web site?",
            maker, MessageButtons::YesNo, MessageIcon::Information};
}

UserMessage SheetsNotWritten() {
    return ErrorMessage("Can't write the sheets file");
}

UserMessage ManualMissing() {
    return {"Can't open KaveltoManual.pdf...", "Error", MessageButtons::RetryCancel,
            MessageIcon::Stop};
}

UserMessage ManualNotOpened(const std::string& path) {
    return {"Can't open KaveltoManual.pdf...\n\nNo program opened " + path +
                "\nOpen it with a PDF viewer.",
            "Error", MessageButtons::RetryCancel, MessageIcon::Stop};
}

UserMessage PageNotOpened(const std::string& path) {
    return {"No browser opened the pick list page.\n\nIt is at " + path +
                "\nand the list is on the clipboard.",
            "Pick List", MessageButtons::Ok, MessageIcon::Exclamation};
}

UserMessage SheetsNotOpened(const std::string& path) {
    return {"No program opened the sheets.\n\nThey are at " + path, "Print sheets",
            MessageButtons::Ok, MessageIcon::Exclamation};
}

std::string BannerText(const UserMessage& message) {
    std::string banner;
    std::size_t start = 0;
    while (start <= message.text.size()) {
        const std::size_t end = std::min(message.text.find('\n', start), message.text.size());
        if (end > start)
            banner += (banner.empty() ? "" : "   ") + message.text.substr(start, end - start);
        start = end + 1;
    }
    return banner;
}

// ---- start-up

std::string UsageText() {
    return "Usage: kavelto [--bom FILE] [FOLDER] [PLACEMENT_FILE [PICTURE]]\n"
           "Guides placing surface-mount parts on a board by hand.\n"
           "\n"
           "  FOLDER          the folder to work in (else the current one); the files are\n"
           "                  taken relative to it\n"
           "  PLACEMENT_FILE  the placement (pick and place) file to load\n"
           "  PICTURE         the picture of the board face to show\n"
           "  --bom FILE      the bill of materials to load after the placement file\n"
           "  --help          print this help and end\n"
           "  --version       print the version and end\n"
           "\n"
           "The column layout is read from Kavelto.ini in the working folder, else from\n"
           "$XDG_CONFIG_HOME/kavelto/Kavelto.ini (~/.config/kavelto/Kavelto.ini).\n";
}

std::string VersionText() {
    return std::string("kavelto ") + kProgramVersion + "\n";
}

std::string UnknownOptionText(const std::string& option) {
    return "kavelto: unknown option " + option;
}

std::string TooManyArgumentsText() {
    return "kavelto: too many arguments";
}

std::string BomFileMissingText() {
    return "kavelto: --bom needs a file";
}

std::string NotAFolderText(const std::string& path) {
    return "kavelto: " + path + " is not a folder";
}

std::string TryHelpText() {
    return "Try 'kavelto --help'.";
}

UserMessage ColumnMapOffer(const std::string& workingFolder, const std::string& userFile) {
    return {"Can't find Kavelto.ini file\n\nLooked in the working folder " + workingFolder +
                "\nand for " + userFile + "\n\nCreate " + userFile +
                " with the lines 0, - and auto, which read each placement file by its own "
                "column names?",
            "Error", MessageButtons::YesNo, MessageIcon::Exclamation};
}

UserMessage ColumnMapMissing(const std::string& workingFolder) {
    return ErrorMessage("Can't find Kavelto.ini file\n\nLooked in the working folder " +
                        workingFolder);
}

UserMessage CantCreateColumnMap(const std::string& path, const std::string& reason) {
    return ErrorMessage("Can't create " + path + ": " + reason);
}

} // namespace kavelto

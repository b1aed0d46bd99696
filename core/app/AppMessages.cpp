#include "app/AppMessages.h"

#include "base/AppIdentity.h"

namespace kavelto {

std::string WindowCaption() {
    return std::string("Kavelto, offered by ") + kMakerName + " (" + kMakerSite + ") - version " +
           kProgramVersion;
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

} // namespace kavelto

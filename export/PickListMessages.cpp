#include "PickListMessages.h"

namespace kavelto {

namespace {

UserMessage PageMessage(std::string text) {
    return {std::move(text), "Error", MessageButtons::Ok, MessageIcon::None};
}

} // namespace

UserMessage CantCreatePageMessage() {
    return PageMessage("Can't create html file");
}

UserMessage CantWritePageMessage() {
    return PageMessage("Can't write html file");
}

UserMessage CantWriteProgressMessage() {
    return ErrorMessage("Can't write progress file");
}

} // namespace kavelto

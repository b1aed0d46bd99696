#include "PickListMessages.h"

namespace kavelto {

namespace {

UserMessage PageMessage(std::string text) {
    return {std::move(text), "Error", MessageButtons::Ok, MessageIcon::None};
}

UserMessage SparesMessage(std::string text) {
    return {std::move(text), "Spares per item", MessageButtons::Ok, MessageIcon::Exclamation};
}

std::string Row(int row) {
    return "Row " + std::to_string(row) + ": ";
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

UserMessage SparesNoRowsMessage() {
    return SparesMessage("The rule needs at least one row.");
}

UserMessage SparesSizeUnknownMessage(int row, const std::string& size) {
    return SparesMessage(Row(row) + "\"" + size +
                         "\" names no chip size. Write one such as 0402, or leave the size "
                         "empty for every other package.");
}

UserMessage SparesPercentMessage(int row) {
    return SparesMessage(Row(row) + "the percentage must be a whole number from 0 to 100.");
}

UserMessage SparesMinimumMessage(int row) {
    return SparesMessage(Row(row) + "the minimum must be a whole number from 0 to 1000.");
}

UserMessage SparesSizeNotGrowingMessage(int row) {
    return SparesMessage(Row(row) + "the size must be larger than the rows' above.");
}

UserMessage SparesOthersNotLastMessage(int row) {
    return SparesMessage(Row(row) +
                         "only the last row may leave the size empty: it is for every other "
                         "package.");
}

} // namespace kavelto

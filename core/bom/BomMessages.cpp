#include "bom/BomMessages.h"

namespace kavelto {

namespace {

// A box names this many designators of a list, and counts the rest.
constexpr std::size_t kListedDesignators = 40;

std::string Listed(const std::vector<std::string>& items) {
    if (items.empty())
        return "none";
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < kListedDesignators; ++i)
        text += (i == 0 ? "" : ", ") + items[i];
    if (items.size() > kListedDesignators)
        text += " and " + std::to_string(items.size() - kListedDesignators) + " more";
    return text;
}

} // namespace

std::string NoBomNameRowMessage(int searchLines) {
    return "No column of designators (Reference, Designator, RefDes, Parts...) in the first " +
           std::to_string(searchLines) + " lines of BOM file";
}

std::string NoProgressNameRowMessage(int searchLines) {
    return "No row naming the columns Designator, Face and Placed in the first " +
           std::to_string(searchLines) + " lines of progress file";
}

std::string ProgressUnterminatedQuoteMessage(int lineNumber) {
    return "Unterminated string from line " + std::to_string(lineNumber) + " of progress file";
}

std::string BomUnterminatedQuoteMessage(int lineNumber) {
    return "Unterminated string in line " + std::to_string(lineNumber) + " of BOM file";
}

UserMessage BomMismatchMessage(const BomMismatches& mismatches) {
    std::string text;
    if (!mismatches.onlyInBom.empty() || !mismatches.onlyInPlacement.empty())
        text = "In the BOM but not in the placement file: " + Listed(mismatches.onlyInBom) +
               "; in the placement file but not in the BOM: " + Listed(mismatches.onlyInPlacement) +
               ".";
    if (!mismatches.quantityMismatches.empty())
        text += (text.empty() ? "" : "\n\n") +
                std::string("Quantity not the number of designators: ") +
                Listed(mismatches.quantityMismatches) + ".";
    return {text, "BOM", MessageButtons::Ok, MessageIcon::Exclamation};
}

UserMessage NotFittedRefusal(const std::string& designator, const std::string& reason) {
    return {designator + " stays off the board: " + reason + ".", "Placement", MessageButtons::Ok,
            MessageIcon::Information};
}

} // namespace kavelto

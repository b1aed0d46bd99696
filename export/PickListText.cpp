#include "PickListText.h"

namespace kavelto {

namespace {

void AppendItemLine(std::string& text, const PickListItem& item) {
    text += std::to_string(item.itemNumber);
    text += '\t';
    text += item.package;
    text += '\t';
    text += item.value;
    text += '\t';
    text += std::to_string(item.countPerBoard);
    text += '\t';
    text += std::to_string(item.totalCount);
    text += '\n';
}

} // namespace

std::string PickListText(const std::vector<PickListItem>& items, Face face) {
    std::string text = "Picking List for ";
    text += face == Face::Top ? "TOP SIDE \n\n" : "BOTTOM SIDE \n\n";
    text += "ITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n";
    text += "-------\t-------\t-----\t-----\t-----\n";
    for (const PickListItem& item : items)
        AppendItemLine(text, item);
    text += "END\n\n\n\n";
    return text;
}

} // namespace kavelto

#include "PickListText.h"

namespace kavelto {

namespace {

void AppendPartNumbers(std::string& text, const PickListItem& item) {
    for (const std::string* field : {&item.manufacturer, &item.mpn, &item.supplier}) {
        text += '\t';
        text += *field;
    }
    text += '\t';
    text += DesignatorsText(item);
}

void AppendItemLine(std::string& text, const PickListItem& item, PickListColumns columns) {
    text += std::to_string(item.itemNumber);
    text += '\t';
    text += item.package;
    text += '\t';
    text += item.value;
    text += '\t';
    text += std::to_string(item.countPerBoard);
    text += '\t';
    text += std::to_string(item.totalCount);
    if (columns.toGather) {
        text += '\t';
        text += std::to_string(item.toGather.value_or(item.totalCount));
    }
    if (columns.partNumbers)
        AppendPartNumbers(text, item);
    text += '\n';
}

} // namespace

std::string PickListText(const std::vector<PickListItem>& items, Face face,
                         PickListColumns columns) {
    std::string text = "Picking List for ";
    text += face == Face::Top ? "TOP SIDE \n\n" : "BOTTOM SIDE \n\n";
    text += "ITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total";
    text += columns.toGather ? "\tTO GATHER" : "";
    text += columns.partNumbers ? "\tMANUFACTURER\tMPN\tSUPPLIER #\tDESIGNATORS\n" : "\n";
    text += "-------\t-------\t-----\t-----\t-----";
    text += columns.toGather ? "\t-----" : "";
    text += columns.partNumbers ? "\t-----\t-----\t-----\t-----\n" : "\n";
    for (const PickListItem& item : items)
        AppendItemLine(text, item, columns);
    text += "END\n\n\n\n";
    return text;
}

} // namespace kavelto

// Any bytes as Kavelto.ini: a layout is accepted whole and consistent, or refused with a message.

#include "ScratchFolder.h"
#include "placement/ColumnMap.h"

using namespace kavelto;

namespace {

void CheckAccepted(const ColumnMap& map) {
    Require(map.headerLines >= 0 && map.headerLines <= 99, "header lines within 0..99");
    if (map.byName)
        return;
    Require(map.fieldCount >= 1 && map.fieldCount <= kColumnCount, "field count within 1..7");
    for (const FieldCode code : kMandatoryClassicFields)
        Require(map.columnOfField[code] != kNoColumn, "columns 1 to 4 assigned");
    for (const FieldCode code : kRecordFields) {
        const int column = map.columnOfField[code];
        Require(column == kNoColumn ||
                    (column < map.fieldCount && map.codeOfColumn(column) == code),
                "each field's column holds that field");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFolder folder;
    const std::string& path = folder.write("Kavelto.ini", data, size);
    const Result<ColumnMap> read = ReadColumnMap(path);
    if (read)
        CheckAccepted(read.value());
    else
        Require(!read.failure().text.empty(), "a refusal says why");
    return 0;
}

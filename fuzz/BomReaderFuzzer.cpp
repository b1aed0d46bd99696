// Any bytes as a bill of materials, read with the marks of a BOM or of a placement file as the
// first byte chooses: the load succeeds or fails whole, every line it keeps names designators,
// none of them empty, in file order, and the join to a small placement table accounts for every
// part and keeps each line's designators to parts of that designator.

#include "ScratchFolder.h"
#include "bom/BomJoin.h"
#include "bom/BomReader.h"
#include "placement/ColumnMap.h"
#include "placement/PlacementReader.h"

#include <algorithm>
#include <string>

using namespace kavelto;

namespace {

// The parts of tests/data/boms/board.csv, which the seeds are bills of materials of.
constexpr char kPlacement[] = "Ref,Val,Package,PosX,PosY,Rot,Side\n"
                              "C1,100nF,C_0402_1005Metric,10,-10,0,top\n"
                              "C2,100nF,C_0402_1005Metric,12,-10,0,top\n"
                              "C3,100nF,C_0402_1005Metric,14,-10,0,top\n"
                              "C4,10uF,C_0805_2012Metric,16,-10,90,top\n"
                              "R1,10k,R_0603_1608Metric,10,-20,0,top\n"
                              "R2,10k,R_0603_1608Metric,12,-20,0,top\n"
                              "R3,10k,R_0603_1608Metric,14,-20,0,top\n"
                              "R4,10k,R_0603_1608Metric,16,-20,0,bottom\n"
                              "R5,4k7,R_0603_1608Metric,18,-20,0,top\n"
                              "R6,0R,R_0603_1608Metric,20,-20,0,top\n"
                              "D1,LED red,LED_0603_1608Metric,10,-30,180,top\n"
                              "U1,STM32F103C8T6,LQFP-48_7x7mm_P0.5mm,20,-30,45,top\n";

PartTable LoadParts(ScratchFolder& folder) {
    Result<ColumnMap> map = ReadColumnMap(folder.write("Kavelto.ini", "1\n,\n1,5,6,3,4,7,2\n"));
    Require(map.ok(), "the placement layout loads");
    Result<PlacementParts> parts =
        ReadPlacementFile(folder.write("board.csv", kPlacement), map.value());
    Require(parts.ok() && parts->table.partCount() == 12, "the placement file loads");
    return std::move(parts).value().table;
}

void CheckLines(const BomTable& bom) {
    int lastLine = 0;
    for (const BomLine& line : bom.lines) {
        Require(!line.designators.empty(), "a line names designators");
        for (const std::string& designator : line.designators)
            Require(!designator.empty(), "no empty designator");
        Require(line.lineNumber > lastLine, "lines in file order");
        lastLine = line.lineNumber;
    }
}

void CheckJoin(const BomTable& bom, const PartTable& table) {
    const BomJoin join = JoinBom(bom, table);
    Require(join.lineOfPart.size() == table.parts().size(), "a line or none for every part");
    for (std::size_t part = 0; part < join.lineOfPart.size(); ++part) {
        const int line = join.lineOfPart[part];
        if (line == kNoBomLine)
            continue;
        Require(line >= 0 && line < static_cast<int>(bom.lines.size()), "joined lines exist");
        const std::vector<std::string>& names =
            bom.lines[static_cast<std::size_t>(line)].designators;
        Require(std::find(names.begin(), names.end(), table.parts()[part].designator.view()) !=
                    names.end(),
                "a part joins a line that names it");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFolder folder;
    static const PartTable table = LoadParts(folder);
    if (size == 0)
        return 0;
    const NotFittedMarks marks =
        data[0] % 2 == 0 ? NotFittedMarks::ColumnsAndValues : NotFittedMarks::ColumnsOnly;
    const Result<BomTable> read = ReadBomFile(folder.write("bom.csv", data + 1, size - 1), marks);
    if (!read) {
        Require(!read.failure().text.empty(), "a failed load says why");
        return 0;
    }
    CheckLines(read.value());
    CheckJoin(read.value(), table);
    return 0;
}

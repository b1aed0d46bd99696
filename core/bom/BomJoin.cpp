#include "bom/BomJoin.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace kavelto {

namespace {

// The parts of each designator: the first by the map, the others chained after it.
class PartsByDesignator {
public:
    explicit PartsByDesignator(const PartTable& table)
        : next_(static_cast<std::size_t>(table.partCount()), kNoBomLine) {
        first_.reserve(static_cast<std::size_t>(table.partCount()));
        std::vector<int> last(static_cast<std::size_t>(table.partCount()), kNoBomLine);
        for (int i = 0; i < table.partCount(); ++i) {
            const auto [at, inserted] = first_.emplace(table.part(i).designator, i);
            if (inserted)
                continue;
            int& tail = last[static_cast<std::size_t>(at->second)];
            next_[static_cast<std::size_t>(tail == kNoBomLine ? at->second : tail)] = i;
            tail = i;
        }
    }

    int first(std::string_view designator) const {
        const auto found = first_.find(designator);
        return found == first_.end() ? kNoBomLine : found->second;
    }
    int next(int part) const { return next_[static_cast<std::size_t>(part)]; }

private:
    std::unordered_map<std::string_view, int> first_;
    std::vector<int> next_;
};

std::string QuantityMismatch(const BomLine& line) {
    return "line " + std::to_string(line.lineNumber) + " (quantity " +
           std::to_string(*line.quantity) + ", " + std::to_string(line.designators.size()) +
           " designators)";
}

bool QuantityAgrees(const BomLine& line) {
    if (!line.quantity)
        return true;
    if (line.notFitted && *line.quantity == 0)
        return true;
    return static_cast<std::size_t>(*line.quantity) == line.designators.size();
}

} // namespace

BomJoin JoinBom(const BomTable& bom, const PartTable& table) {
    BomJoin join;
    join.lineOfPart.assign(static_cast<std::size_t>(table.partCount()), kNoBomLine);
    const PartsByDesignator parts(table);
    for (std::size_t l = 0; l < bom.lines.size(); ++l) {
        const BomLine& line = bom.lines[l];
        if (!QuantityAgrees(line))
            join.mismatches.quantityMismatches.push_back(QuantityMismatch(line));
        for (const std::string& designator : line.designators) {
            int part = parts.first(designator);
            if (part == kNoBomLine)
                join.mismatches.onlyInBom.push_back(designator);
            for (; part != kNoBomLine; part = parts.next(part)) {
                int& joined = join.lineOfPart[static_cast<std::size_t>(part)];
                if (joined == kNoBomLine)
                    joined = static_cast<int>(l);
            }
        }
    }
    for (int i = 0; i < table.partCount(); ++i)
        if (join.lineOfPart[static_cast<std::size_t>(i)] == kNoBomLine)
            join.mismatches.onlyInPlacement.push_back(table.part(i).designator);
    return join;
}

} // namespace kavelto

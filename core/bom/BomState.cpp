#include "bom/BomState.h"

#include <utility>

namespace kavelto {

namespace {

// The parts whose line of a table of marks says they stay off the board.
std::vector<bool> MarkedParts(const BomTable& marks, const PartTable& table) {
    const BomJoin join = JoinBom(marks, table);
    std::vector<bool> marked(join.lineOfPart.size(), false);
    for (std::size_t part = 0; part < marked.size(); ++part) {
        const int line = join.lineOfPart[part];
        marked[part] = line != kNoBomLine && marks.lines[static_cast<std::size_t>(line)].notFitted;
    }
    return marked;
}

} // namespace

void BomState::partsLoaded(const PartTable& table, const std::optional<BomTable>& marks) {
    join(table, marks);
}

void BomState::attach(std::string path, BomTable bom, const PartTable& table) {
    bomPath_ = std::move(path);
    bom_ = std::move(bom);
    // Marks made by hand and by the placement file stay; the new BOM adds its own.
    const std::vector<NotFittedSource> before = sources_;
    join(table, std::nullopt);
    for (std::size_t part = 0; part < before.size() && part < sources_.size(); ++part)
        if (sources_[part] == NotFittedSource::Fitted && before[part] != NotFittedSource::Bom)
            set(static_cast<int>(part), before[part]);
}

void BomState::join(const PartTable& table, const std::optional<BomTable>& marks) {
    const auto count = static_cast<std::size_t>(table.partCount());
    sources_.assign(count, NotFittedSource::Fitted);
    notFitted_.assign(count, false);
    refused_.assign(count, false);
    if (hasBom()) {
        join_ = JoinBom(bom_, table);
    } else {
        // Without a BOM no part has a line, and nothing disagrees.
        join_ = {};
        join_.lineOfPart.assign(count, kNoBomLine);
    }
    if (marks && !marks->lines.empty()) {
        const std::vector<bool> marked = MarkedParts(*marks, table);
        for (std::size_t part = 0; part < count; ++part)
            if (marked[part])
                set(static_cast<int>(part), NotFittedSource::PlacementFile);
    }
    for (std::size_t part = 0; part < count; ++part)
        if (const BomLine* line = lineOf(static_cast<int>(part)); line && line->notFitted)
            set(static_cast<int>(part), NotFittedSource::Bom);
}

const BomLine* BomState::lineOf(int part) const {
    const int line = join_.lineOfPart[static_cast<std::size_t>(part)];
    return line == kNoBomLine ? nullptr : &bom_.lines[static_cast<std::size_t>(line)];
}

NotFittedSource BomState::notFittedSource(int part) const {
    return sources_[static_cast<std::size_t>(part)];
}

void BomState::set(int part, NotFittedSource source) {
    const auto at = static_cast<std::size_t>(part);
    sources_[at] = source;
    notFitted_[at] = source != NotFittedSource::Fitted;
    refused_[at] = false;
}

void BomState::toggleByHand(int part) {
    set(part, isNotFitted(part) ? NotFittedSource::Fitted : NotFittedSource::ByHand);
}

std::vector<int> BomState::notFittedParts() const {
    std::vector<int> parts;
    for (std::size_t part = 0; part < notFitted_.size(); ++part)
        if (notFitted_[part])
            parts.push_back(static_cast<int>(part));
    return parts;
}

void BomState::restoreNotFitted(const std::vector<int>& parts) {
    std::vector<bool> kept(notFitted_.size(), false);
    for (const int part : parts)
        if (part >= 0 && static_cast<std::size_t>(part) < kept.size())
            kept[static_cast<std::size_t>(part)] = true;
    for (std::size_t part = 0; part < kept.size(); ++part)
        if (kept[part] != notFitted_[part])
            toggleByHand(static_cast<int>(part));
}

bool BomState::firstRefusal(int part) {
    const auto at = static_cast<std::size_t>(part);
    const bool first = !refused_[at];
    refused_[at] = true;
    return first;
}

} // namespace kavelto

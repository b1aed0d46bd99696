#pragma once

#include "bom/BomJoin.h"
#include "bom/BomTable.h"
#include "parts/PartTable.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// Why a part stays off the board.
enum class NotFittedSource { Fitted, Bom, PlacementFile, ByHand };

// The bill of materials beside the loaded parts, joined to them by designator, and which parts
// stay off the board: those the BOM or the placement file's own column marks, and those the
// user toggles by hand. Everything is by table position.
class BomState {
public:
    // A new part table: marks are the placement file's own not-fitted column read as a BOM, if
    // it has one. A BOM loaded before is joined to the new parts.
    void partsLoaded(const PartTable& table, const std::optional<BomTable>& marks);
    // A BOM loaded from path for the parts of table.
    void attach(std::string path, BomTable bom, const PartTable& table);
    // What the BOM and the parts disagree on; nothing without a BOM.
    const BomMismatches& mismatches() const { return join_.mismatches; }

    bool hasBom() const { return bomPath_.has_value(); }
    const std::optional<std::string>& bomPath() const { return bomPath_; }

    // The part's BOM line, or nullptr without one.
    const BomLine* lineOf(int part) const;
    bool isNotFitted(int part) const { return notFitted_[static_cast<std::size_t>(part)]; }
    NotFittedSource notFittedSource(int part) const;
    // By table position, for the searches that pass over the parts left off.
    const std::vector<bool>& notFittedFlags() const { return notFitted_; }

    void toggleByHand(int part);
    // The not-fitted parts, and setting them back as a kept session had them: the parts that
    // were not fitted then and are fitted now are marked by hand, and the other way round.
    std::vector<int> notFittedParts() const;
    void restoreNotFitted(const std::vector<int>& parts);

    // True the first time it is asked for a part since the part was marked not fitted: the
    // refusal of Enter on it is told once.
    bool firstRefusal(int part);

private:
    void set(int part, NotFittedSource source);
    void join(const PartTable& table, const std::optional<BomTable>& marks);

    std::optional<std::string> bomPath_;
    BomTable bom_;
    BomJoin join_;
    std::vector<NotFittedSource> sources_;
    std::vector<bool> notFitted_;
    std::vector<bool> refused_;
};

} // namespace kavelto

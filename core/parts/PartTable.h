#pragma once

#include "parts/PartRecord.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kavelto {

// The most parts a table holds: the list and the views are built for a board of this size.
inline constexpr int kMaxParts = 5000;

// Every component of the loaded placement file, in file order. A load fills a table of its own
// and the session takes it whole, so no reader ever sees a table half written.
class PartTable {
public:
    int partCount() const { return static_cast<int>(parts_.size()); }
    bool isFull() const { return parts_.size() >= std::size_t(kMaxParts); }

    const PartRecord& part(int index) const { return parts_[static_cast<std::size_t>(index)]; }
    PartRecord& part(int index) { return parts_[static_cast<std::size_t>(index)]; }
    const std::vector<PartRecord>& parts() const { return parts_; }

    // Room for a full table at once, so that a load never moves the records it has read.
    void reserveFull() { parts_.reserve(std::size_t(kMaxParts)); }

    // A fresh record after the others, to be filled where it stays; nothing when the table is
    // full.
    PartRecord* appendFresh() {
        if (isFull())
            return nullptr;
        return &parts_.emplace_back();
    }

    // Puts part after the others; a full table keeps it out and says so by returning false.
    bool append(PartRecord part) {
        if (isFull())
            return false;
        parts_.push_back(std::move(part));
        return true;
    }

private:
    std::vector<PartRecord> parts_;
};

} // namespace kavelto

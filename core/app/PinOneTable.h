#pragma once

#include "base/Result.h"
#include "packages/PinOneCorrection.h"

#include <string>

namespace kavelto {

// The user's pin 1 corrections, kept in a file of their own configuration folder, so that a
// library's convention, once set right, holds for the next board too. An empty path keeps them
// for this run only.
class PinOneTable {
public:
    // Reads the file at path; a missing or unreadable file gives no corrections.
    explicit PinOneTable(std::string path);

    const PinOneCorrections& corrections() const { return corrections_; }
    // Sets the package's correction and writes the file again; says so where it can't.
    Result<void> set(const std::string& package, const PinOneCorrection& correction);

private:
    std::string path_;
    PinOneCorrections corrections_;
};

} // namespace kavelto

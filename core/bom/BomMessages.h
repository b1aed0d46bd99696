#pragma once

#include "base/UserMessage.h"

#include <string>
#include <vector>

namespace kavelto {

// Every text the bill of materials tells the user, word for word, in one place.

inline constexpr const char* kBomNotOpened = "Error opening BOM file";
inline constexpr const char* kBomReadFailed = "Error reading BOM file";

// No name row with a designator column among the first searchLines lines.
std::string NoBomNameRowMessage(int searchLines);

// A quoted cell that does not end on its line.
std::string BomUnterminatedQuoteMessage(int lineNumber);

// The designators found in only one of the two files, and the lines whose quantity is not the
// number of their designators ("line 7: Qty 3, 2 designators"); nothing to say when all agree.
struct BomMismatches {
    std::vector<std::string> onlyInBom;
    std::vector<std::string> onlyInPlacement;
    std::vector<std::string> quantityMismatches;

    bool empty() const {
        return onlyInBom.empty() && onlyInPlacement.empty() && quantityMismatches.empty();
    }
};
UserMessage BomMismatchMessage(const BomMismatches& mismatches);

// Enter on a part that stays off the board.
UserMessage NotFittedRefusal(const std::string& designator, const std::string& reason);
inline constexpr const char* kNotFittedByBom = "the BOM marks it not fitted";
inline constexpr const char* kNotFittedByPlacement = "the placement file marks it not fitted";
inline constexpr const char* kNotFittedByHand = "it was marked not fitted by hand";

// Reading a progress file back.
inline constexpr const char* kProgressNotOpened = "Error opening progress file";
inline constexpr const char* kProgressReadFailed = "Error reading progress file";
// No name row with the columns Designator, Face and Placed among the first searchLines lines.
std::string NoProgressNameRowMessage(int searchLines);
// A quoted cell, starting on lineNumber, that the file ends in.
std::string ProgressUnterminatedQuoteMessage(int lineNumber);

// What the Placed column shows for a part that stays off the board.
inline constexpr const char* kNotFittedMark = "DNP";

} // namespace kavelto

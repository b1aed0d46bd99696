#include "bom/BomColumnNames.h"

#include "placement/ColumnNames.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>

namespace kavelto {

namespace {

constexpr BomNameRank P = BomNameRank::Preferred;
constexpr BomNameRank F = BomNameRank::Fallback;

// The names the BOM exporters of board design tools write, each spelling once; FindBomColumnName
// folds case, blanks and a bracketed suffix ("Reference(s)" is "Reference").
constexpr std::array<BomColumnName, 61> kBomColumnNames = {{
    {"Reference", BomField::Designators, P},     // KiCad's netlist plugins
    {"References", BomField::Designators, P},    // KiBoM
    {"Refs", BomField::Designators, P},          // KiCad's own BOM dialog
    {"Ref", BomField::Designators, P},           // KiCad's grouped plugins
    {"RefDes", BomField::Designators, P},        // Horizon, DipTrace
    {"Designator", BomField::Designators, P},    // Altium, JLCPCB, EasyEDA
    {"Designators", BomField::Designators, P},   // LibrePCB
    {"Parts", BomField::Designators, P},         // Eagle's and Fusion's bom.ulp, values list
    {"Part", BomField::Designators, F},          // Eagle's parts list; KiBoM's symbol name
    {"Qty", BomField::Quantity, P},              // KiCad, Horizon
    {"Qnty", BomField::Quantity, P},             // KiCad's older plugins
    {"Quantity", BomField::Quantity, P},         // Altium, EasyEDA, LibrePCB
    {"Quantity Per PCB", BomField::Quantity, P}, // KiBoM
    {"Value", BomField::Value, P},               // KiCad, Eagle, LibrePCB, Horizon
    {"Val", BomField::Value, P},
    {"Comment", BomField::Value, P}, // Altium, JLCPCB, EasyEDA Pro
    {"Name", BomField::Value, F},    // EasyEDA Standard
    {"Footprint", BomField::Footprint, P},
    {"Package", BomField::Footprint, P}, // Eagle, LibrePCB, Horizon
    {"Pattern", BomField::Footprint, P},
    {"Case", BomField::Footprint, F},
    {"Manufacturer", BomField::Manufacturer, P},
    {"Manufacturer 1", BomField::Manufacturer, P}, // Altium's ActiveBOM
    {"Manufacturer Name", BomField::Manufacturer, P},
    {"Mfr", BomField::Manufacturer, P},
    {"MFG", BomField::Manufacturer, P},
    {"MF", BomField::Manufacturer, P}, // Eagle's attribute
    {"MPN", BomField::Mpn, P},
    {"Manufacturer Part Number", BomField::Mpn, P},
    {"Manufacturer Part Number 1", BomField::Mpn, P}, // Altium's ActiveBOM
    {"Manufacturer Part", BomField::Mpn, P},          // EasyEDA
    {"Mfr Part Number", BomField::Mpn, P},
    {"MFR#", BomField::Mpn, P},
    {"Mfr. #", BomField::Mpn, P},
    {"MFG PN", BomField::Mpn, P},
    {"MFR PN", BomField::Mpn, P},
    {"Part Number", BomField::Mpn, P},
    {"LCSC", BomField::Supplier, P},
    {"LCSC Part #", BomField::Supplier, P}, // JLCPCB's template
    {"LCSC Part", BomField::Supplier, P},
    {"LCSC Part Number", BomField::Supplier, P},
    {"JLCPCB Part #", BomField::Supplier, P},
    {"Supplier Part", BomField::Supplier, P},          // EasyEDA
    {"Supplier Part Number 1", BomField::Supplier, P}, // Altium's ActiveBOM
    {"Supplier Part Number", BomField::Supplier, P},
    {"Digikey", BomField::Supplier, P},
    {"DigiKey_PN", BomField::Supplier, P},
    {"Digi-Key Part Number", BomField::Supplier, P},
    {"Mouser", BomField::Supplier, P},
    {"Mouser Part Number", BomField::Supplier, P},
    {"Description", BomField::Description, P},
    {"Desc", BomField::Description, P},
    {"DNP", BomField::NotFittedMark, P}, // KiCad 7 and later
    {"DNF", BomField::NotFittedMark, P},
    {"Do not populate", BomField::NotFittedMark, P},
    {"Do Not Place", BomField::NotFittedMark, P},
    {"Not Fitted", BomField::NotFittedMark, P},
    {"Exclude from BOM", BomField::NotFittedMark, P}, // KiCad 7 and later
    {"Fitted", BomField::FittedMark, P},              // Altium, with not-fitted parts included
    {"Populate", BomField::FittedMark, P},
    {"Populated", BomField::FittedMark, P},
}};

bool FoldsToOneOf(std::string_view text, std::initializer_list<const char*> words) {
    const std::string folded = FoldColumnName(text);
    return std::any_of(words.begin(), words.end(),
                       [&folded](const char* word) { return folded == word; });
}

} // namespace

const BomColumnName* FindBomColumnName(std::string_view text) {
    static const std::array<std::string, kBomColumnNames.size()> kFolded = [] {
        std::array<std::string, kBomColumnNames.size()> folded;
        for (std::size_t i = 0; i < kBomColumnNames.size(); ++i)
            folded[i] = FoldColumnName(kBomColumnNames[i].spelling);
        return folded;
    }();
    const std::string folded = FoldColumnName(text);
    for (std::size_t i = 0; i < kBomColumnNames.size(); ++i) {
        if (kFolded[i] == folded)
            return &kBomColumnNames[i];
    }
    return nullptr;
}

bool MarksNotFitted(BomField field, std::string_view cell) {
    const bool saysNo = FoldsToOneOf(cell, {"no", "n", "false", "0"});
    if (field == BomField::NotFittedMark)
        return !FoldColumnName(cell).empty() && !saysNo;
    if (field == BomField::FittedMark)
        return saysNo || FoldsToOneOf(cell, {"notfitted", "dnp", "dnf"});
    return false;
}

bool ValueMeansNotFitted(std::string_view value) {
    return FoldsToOneOf(
        value, {"dnp", "dnf", "nf", "nc", "donotfit", "donotpopulate", "donotplace", "notfitted"});
}

} // namespace kavelto

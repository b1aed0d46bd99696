#include "packages/PartKind.h"

#include <cctype>
#include <string>

namespace kavelto {

namespace {

struct DesignatorClass {
    const char* letters;
    PartKind kind;
};

// Designator letters and the kind of part they name. Letters a kind shares with another field
// of use ("DS" is any indicator, "X" a socket as well as a crystal) are left out, so that they
// add nothing the package does not say.
constexpr DesignatorClass kDesignatorClasses[] = {
    {"R", PartKind::Resistor},
    {"RN", PartKind::Resistor},
    {"C", PartKind::Capacitor},
    {"L", PartKind::Inductor},
    {"FB", PartKind::Inductor},
    {"D", PartKind::Diode},
    {"CR", PartKind::Diode},
    {"Z", PartKind::Diode},
    {"ZD", PartKind::Diode},
    {"TVS", PartKind::Diode},
    {"LED", PartKind::Led},
    {"Y", PartKind::Crystal},
    {"XTAL", PartKind::Crystal},
    {"Q", PartKind::Transistor},
    {"U", PartKind::IntegratedCircuit},
    {"IC", PartKind::IntegratedCircuit},
    {"J", PartKind::Connector},
    {"P", PartKind::Connector},
    {"CN", PartKind::Connector},
    {"SW", PartKind::Switch},
    {"S", PartKind::Switch},
    {"F", PartKind::Fuse},
};

std::string LeadingLetters(std::string_view designator) {
    std::string letters;
    for (const char c : designator) {
        if (!std::isalpha(static_cast<unsigned char>(c)))
            break;
        letters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return letters;
}

} // namespace

PartKind KindFromDesignator(std::string_view designator) {
    const std::string letters = LeadingLetters(designator);
    for (const DesignatorClass& entry : kDesignatorClasses)
        if (letters == entry.letters)
            return entry.kind;
    return PartKind::Unknown;
}

} // namespace kavelto

#pragma once

#include "packages/PackageShape.h"

#include <map>
#include <string>

namespace kavelto {

// How the user set right the pin 1 that a package's name gives, for every part of the package:
// turned about the body by quarter turns clockwise, as the footprint is drawn at rotation 0,
// after a mirror left to right; or hidden, where no mark is better than a wrong one.
struct PinOneCorrection {
    int quarterTurns = 0; // 0 to 3
    bool mirrored = false;
    bool hidden = false;

    bool operator==(const PinOneCorrection& other) const {
        return quarterTurns == other.quarterTurns && mirrored == other.mirrored &&
               hidden == other.hidden;
    }
    bool operator!=(const PinOneCorrection& other) const { return !(*this == other); }
};

// The corrections chosen from the menu, in its order.
enum class PinOneStep { TurnClockwise, TurnAnticlockwise, TurnHalf, Mirror, HideOrShow, Reset };

// The correction after one more step. A mirror after a turn is the mirror of that turn.
PinOneCorrection Followed(PinOneCorrection correction, PinOneStep step);

// The shape with its pin 1 moved as the correction says: taken to the same place of the body
// turned or mirrored about its middle, so a corner goes to a corner and an end to the other end.
// The body itself stays.
PackageShape Corrected(PackageShape shape, const PinOneCorrection& correction);

// The user's corrections by package name, as kept in a small text file: one line per package,
// "turns mirrored hidden", a tab, and the name as the placement file writes it.
class PinOneCorrections {
public:
    // Lines that are not of that form are passed over.
    static PinOneCorrections FromText(const std::string& text);
    std::string toText() const;

    // The package's correction; none where it has none.
    PinOneCorrection of(const std::string& package) const;
    // Sets the package's correction; setting none forgets it.
    void set(const std::string& package, const PinOneCorrection& correction);
    bool empty() const { return byPackage_.empty(); }

private:
    std::map<std::string, PinOneCorrection> byPackage_;
};

} // namespace kavelto

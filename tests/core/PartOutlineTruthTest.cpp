// Outlines and pin 1 marks from package names alone, against the demo board's truth: the
// pixels of every part's body corners and pin 1 as the design tool computes them, on the
// scanned pictures calibrated with two points and on the phone picture with a fitted map.

#include "ColdfireTruth.h"
#include "geometry/CalibrationMap.h"
#include "packages/PackageParser.h"
#include "packages/PartOutline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace kavelto;
using namespace coldfire;

namespace {

// The footprints whose truth body is their courtyard, not a drawing of the body.
constexpr const char* kCourtyardBodies[] = {"SW_PUSH_SMALL", "SW_SPDT",  "JACK_ALIM", "FSUPCMS",
                                            "SM1206POL",     "SOT23EBC", "SOT353"};

bool BodyFromCourtyard(const std::string& package) {
    return std::any_of(std::begin(kCourtyardBodies), std::end(kCourtyardBodies),
                       [&](const char* name) { return package == name; });
}

// The distance from pin 1 to its nearest other pad on the demo board's footprints, in mm: a
// mark nearer to pin 1 than half of it is nearer to pin 1 than to any other pad.
struct PadSpacing {
    const char* packagePrefix;
    double millimetres;
};
constexpr PadSpacing kPinOneSpacing[] = {
    {"LQFP-100", 0.5}, {"TQFP-144", 0.5},  {"SOIC-", 1.27},   {"PinHeader_", 2.54},
    {"D_SOT-23", 2.2}, {"TO-263-5", 1.7},  {"TO-92", 1.8},    {"DSUB-9", 2.77},
    {"LED_1206", 2.8}, {"CP_Radial", 5.0}, {"D_DO-15", 12.7}, {"SM1206POL", 3.3},
    {"C_0805", 1.875}, {"R_0805", 1.875},  {"R_1206", 3.18},  {"SOT353", 0.635},
};

double SpacingOf(const std::string& package) {
    for (const PadSpacing& row : kPinOneSpacing)
        if (package.rfind(row.packagePrefix, 0) == 0)
            return row.millimetres;
    return 0.0; // a mark on a footprint not listed counts as wrong
}

bool PolarisedTwoPad(const TruthPart& part) {
    const std::string& package = part.record.package;
    return part.pads == 2 && (package.rfind("LED_", 0) == 0 || package.rfind("D_", 0) == 0 ||
                              package.rfind("CP_", 0) == 0 || package == "SM1206POL");
}

struct Tally {
    int polarised = 0, polarisedMarked = 0;
    int multiPad = 0, multiPadMarked = 0;
    int wrongMarks = 0, outlined = 0, farCorners = 0;
};

void CheckPart(const TruthPart& part, const PictureOutline& outline, double pixelsPerMm,
               Tally& tally) {
    const std::string& package = part.record.package;
    if (outline.corners) {
        ++tally.outlined;
        if (!BodyFromCourtyard(package))
            for (std::size_t i = 0; i < 4; ++i) {
                const double miss = std::hypot((*outline.corners)[i].x - part.body[i].x,
                                               (*outline.corners)[i].y - part.body[i].y);
                if (miss > 0.5 * pixelsPerMm) {
                    ++tally.farCorners;
                    ADD_FAILURE() << part.record.designator << " " << package << " corner " << i
                                  << " off by " << miss / pixelsPerMm << " mm";
                }
            }
    }
    const bool marked = outline.mark != PinOneMark::None;
    if (marked) {
        const double miss = part.pinOne ? std::hypot(outline.pinOne->x - part.pinOne->x,
                                                     outline.pinOne->y - part.pinOne->y)
                                        : 1e9;
        if (miss >= SpacingOf(package) / 2 * pixelsPerMm) {
            ++tally.wrongMarks;
            ADD_FAILURE() << part.record.designator << " " << package << " pin 1 off by "
                          << miss / pixelsPerMm << " mm";
        }
    }
    if (PolarisedTwoPad(part)) {
        ++tally.polarised;
        tally.polarisedMarked += marked;
    }
    if (part.pads >= 3) {
        ++tally.multiPad;
        tally.multiPadMarked += marked;
    }
}

Tally CheckFace(const Truth& truth, bool bottom, const Calibration& calibration) {
    const bool seenFromBelow = BottomSeenFromBelow(TableOf(truth));
    const std::optional<ProjectiveMap> map = BoardToPictureMap(calibration);
    EXPECT_TRUE(map);
    Tally tally;
    for (const TruthPart* part : FaceOf(truth, bottom)) {
        const PackageShape shape = ShapeFromPackage(part->record.package, part->record.designator);
        CheckPart(*part, OutlineOnPicture(shape, PlacementOf(part->record, seenFromBelow), *map),
                  truth.pixelsPerMm, tally);
    }
    return tally;
}

void Report(const char* picture, const Tally& t) {
    std::cout << picture << ": outlined " << t.outlined << ", polarised two-pad marked "
              << t.polarisedMarked << "/" << t.polarised << ", three or more pads marked "
              << t.multiPadMarked << "/" << t.multiPad << ", wrong marks " << t.wrongMarks
              << ", corners beyond 0.5 mm " << t.farCorners << "\n";
}

} // namespace

TEST(PartOutlineTruth, BothScannedFacesWithTwoPointsAndThePhoneWithAFit) {
    const Truth scanned = ReadTruth("coldfire.truth.json");
    const Truth phone = ReadTruth("coldfire-phone.truth.json");
    ASSERT_EQ(scanned.parts.size(), 160u);
    const Tally top = CheckFace(scanned, false, PairCalibration(FaceOf(scanned, false)));
    const Tally bottom = CheckFace(scanned, true, PairCalibration(FaceOf(scanned, true)));
    const Tally photo = CheckFace(phone, false, FittedCalibration(FaceOf(phone, false)));
    Report("top, two points", top);
    Report("bottom, two points", bottom);
    Report("top phone, fitted", photo);
    EXPECT_EQ(top.outlined + bottom.outlined, photo.outlined + bottom.outlined);
    for (const Tally& t : {top, photo}) {
        EXPECT_GT(t.polarised, 0);
        EXPECT_GT(t.multiPad, 0);
        EXPECT_EQ(t.wrongMarks, 0);
        EXPECT_GE(t.polarisedMarked + bottom.polarisedMarked,
                  0.95 * (t.polarised + bottom.polarised));
        EXPECT_GE(t.multiPadMarked + bottom.multiPadMarked, 0.75 * (t.multiPad + bottom.multiPad));
    }
    EXPECT_EQ(bottom.wrongMarks, 0);
}

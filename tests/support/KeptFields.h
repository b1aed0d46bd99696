#pragma once

#include "keeping/KeptSession.h"

#include <sstream>
#include <string>
#include <vector>

namespace kavelto {

// Every field of a kept session, written out by the test itself: two sessions that read the
// same here agree in everything kept.
inline std::string Described(const KeptSession& k) {
    std::ostringstream text;
    text.precision(17);
    const auto point = [&text](const CalPoint& p) {
        text << " (" << p.boardX << ' ' << p.boardY << ' ' << p.pixelX << ' ' << p.pixelY << ')';
    };
    text << k.placementPath << '|' << k.contentHash << '|' << k.savedAt << '|' << int(k.face) << '|'
         << int(k.sortMode) << '|' << k.pcbCount << '|' << k.viewRotation << '|' << k.mirrored
         << '|' << k.zoomBoxSize << '|';
    if (k.picture)
        text << k.picture->path << ' ' << k.picture->bytes << ' ' << k.picture->modifiedNs;
    const Calibration& c = k.calibration;
    text << '|' << int(c.state) << ' ' << int(c.pairState);
    point(c.point1);
    point(c.point2);
    if (c.pressedPoint2)
        point(*c.pressedPoint2);
    text << " added";
    for (const CalPoint& p : c.addedPoints)
        point(p);
    text << " fit";
    for (const double h : c.fit.h)
        text << ' ' << h;
    text << "|placed";
    for (const int index : k.placed)
        text << ' ' << index;
    for (const KeptMark& m : k.marks)
        text << " (" << m.designator << ' ' << int(m.face) << ' ' << m.value << ' ' << m.package
             << ')';
    text << '|' << k.selectedRow << '|' << k.placedOnFace << '|' << k.faceCount << "|pin 1";
    for (const KeptPinOne& p : k.pinOne)
        text << " (" << p.package << ' ' << p.quarterTurns << p.mirrored << p.hidden << ')';
    return text.str();
}

// One field of a kept session set apart from its default.
struct KeptField {
    const char* name;
    void (*set)(KeptSession&);
};

// The fields a session restores.
inline const std::vector<KeptField> kSessionFields = {
    {"face", [](KeptSession& k) { k.face = Face::Bottom; }},
    {"order", [](KeptSession& k) { k.sortMode = SortMode::PrefixPartId; }},
    {"PCB count", [](KeptSession& k) { k.pcbCount = 12; }},
    {"turn", [](KeptSession& k) { k.viewRotation = 270; }},
    {"mirror", [](KeptSession& k) { k.mirrored = true; }},
    {"zoom", [](KeptSession& k) { k.zoomBoxSize = 240; }},
    {"placed marks",
     [](KeptSession& k) {
         k.placed = {0, 2, 3};
         k.marks = {{"R1", Face::Top, "1k", "0603"},
                    {"R3", Face::Top, "1k", "0603"},
                    {"R4", Face::Bottom, "1k", "0603"}};
     }},
    {"selected row",
     [](KeptSession& k) {
         k.selectedRow = 2;
         k.faceCount = 3;
     }},
    {"calibration pair",
     [](KeptSession& k) {
         k.calibration.state = k.calibration.pairState = CalState::CalibratedFlipped;
         k.calibration.point1 = {10.5f, 20, 100, 400};
         k.calibration.point2 = {60, 30.25f, 200, 900};
     }},
    {"added points",
     [](KeptSession& k) {
         k.calibration.state = CalState::CalibratedOk;
         k.calibration.addedPoints = {{1, 2, 3, 4}, {5, 6, 7, 8}};
         k.calibration.fit = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
     }},
    {"added points after a pressed point 2",
     [](KeptSession& k) {
         k.calibration.state = CalState::CalibratedOk;
         k.calibration.pressedPoint2 = CalPoint{60, 70, 600, 900};
         k.calibration.addedPoints = {{1, 2, 3, 4}};
         k.calibration.fit = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
     }},
    {"fitted map",
     [](KeptSession& k) {
         k.calibration.fit = {{11.9, -0.2, 100, 1e-300, -12.01, 95.5, 2.5e-5, -1e-6, 1}};
     }},
};

} // namespace kavelto

#pragma once

#include "geometry/Calibration.h"
#include "parts/Face.h"
#include "parts/SortMode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// The picture file as it was when a session was kept: the calibration holds for it only while
// it is unchanged.
struct KeptPicture {
    std::string path;
    std::int64_t bytes = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const KeptPicture& other) const {
        return path == other.path && bytes == other.bytes && modifiedNs == other.modifiedNs;
    }
};

// The face not shown, as it was left: its own picture, turn and mirror, and calibration.
struct KeptFace {
    std::optional<KeptPicture> picture;
    int viewRotation = 0;
    bool mirrored = false;
    Calibration calibration;
};

// How far each face has got, for the offer: "3 + 0 of 146 + 14 placed", the top face first.
struct FaceProgress {
    int placedTop = 0;
    int placedBottom = 0;
    int partsTop = 0;
    int partsBottom = 0;

    bool operator==(const FaceProgress& other) const {
        return placedTop == other.placedTop && placedBottom == other.placedBottom &&
               partsTop == other.partsTop && partsBottom == other.partsBottom;
    }
};

// The picture file a calibration was taken on: its size, its time and a hash of its first 64 KiB,
// so that a file written over within the same second, or put back with its old time, is told
// from it too.
struct CalibratedPicture {
    KeptPicture file;
    std::uint64_t headHash = 0;

    bool operator==(const CalibratedPicture& other) const {
        return file == other.file && headHash == other.headHash;
    }
    bool operator!=(const CalibratedPicture& other) const { return !(*this == other); }
};

// A placed part by what names it, beside its table position: a placement file exported again may
// list the same parts in another order, or some of them changed.
struct KeptMark {
    std::string designator;
    Face face = Face::Top;
    std::string value;
    std::string package;
};

// The user's pin 1 correction of a package of the board: quarter turns clockwise after a mirror,
// or hidden.
struct KeptPinOne {
    std::string package;
    int quarterTurns = 0;
    bool mirrored = false;
    bool hidden = false;
};

// Everything of an assembly that the user would miss after a crash: the placed marks of both
// faces by their position in the part table and by designator, the calibration, the picture and the
// view, the face and order, the PCB count, and the row selected.
struct KeptSession {
    std::string placementPath;
    std::uint64_t contentHash = 0;
    std::int64_t savedAt = 0; // seconds since the epoch
    Face face = Face::Top;
    SortMode sortMode = SortMode::PackagePrefixValuePartId;
    std::uint32_t pcbCount = 1;
    int viewRotation = 0;
    bool mirrored = false;
    int zoomBoxSize = 100;
    std::optional<KeptPicture> picture;
    Calibration calibration;
    std::optional<CalibratedPicture> calibratedOn; // nothing when not known
    std::vector<int> placed;
    std::vector<KeptMark> marks; // the parts of placed, in its order
    int selectedRow = 0;         // of the face list, in the order kept
    int placedOnFace = 0;        // for the offer: "37 of 146 placed"
    int faceCount = 0;
    // The other face's picture and calibration, where it had them.
    std::optional<KeptFace> otherFace;
    // Both faces; nothing in a session kept before they were counted.
    std::optional<FaceProgress> faces;
    // The bill of materials joined to the parts, read again on restoring, and the parts left off
    // the board by their position in the part table; nothing from a version without them.
    std::optional<std::string> bomPath;
    std::optional<std::vector<int>> notFitted;
    // The pin 1 corrections of the board's packages, by package name.
    std::vector<KeptPinOne> pinOne;
};

// The text of a kept session, and back; nothing for a text that is damaged, cut short or
// written by a later version.
std::string KeptSessionText(const KeptSession& kept);
std::optional<KeptSession> ParseKeptSession(const std::string& text);

// The picture file at path as it is now, or nothing when it can't be had.
std::optional<KeptPicture> PictureFileNow(const std::string& path);
std::optional<CalibratedPicture> CalibratedPictureNow(const std::string& path);

} // namespace kavelto

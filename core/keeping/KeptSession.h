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

// Everything of an assembly that the user would miss after a crash: the placed marks of both
// faces by their position in the part table, the calibration, the picture and the view, the
// face and order, the PCB count, and the row selected.
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
    std::vector<int> placed;
    int selectedRow = 0;  // of the face list, in the order kept
    int placedOnFace = 0; // for the offer: "37 of 146 placed"
    int faceCount = 0;
    // The bill of materials joined to the parts, read again on restoring, and the parts left off
    // the board by their position in the part table; nothing from a version without them.
    std::optional<std::string> bomPath;
    std::optional<std::vector<int>> notFitted;
};

// The text of a kept session, and back; nothing for a text that is damaged, cut short or
// written by a later version.
std::string KeptSessionText(const KeptSession& kept);
std::optional<KeptSession> ParseKeptSession(const std::string& text);

// The picture file at path as it is now, or nothing when it can't be had.
std::optional<KeptPicture> PictureFileNow(const std::string& path);

} // namespace kavelto

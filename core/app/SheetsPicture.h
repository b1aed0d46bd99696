#pragma once

#include "PickList.h"
#include "geometry/PixelRect.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

class AssemblySession;

// A designator's spot on the face's picture, numbered as its tick box: 1 for the item's first.
struct SheetSpot {
    int number;
    PixelPoint pixel;
};

// The face's picture for the thumbnails of the sheets' blocks: its file, its size as stored, the
// turn and mirror the board view shows it with, and each item's spots in pixels of the picture
// as stored, in the order of the items.
struct SheetsPicture {
    std::string path;
    PixelSize size{0, 0};
    int viewRotation = 0;
    bool mirrored = false;
    std::vector<std::vector<SheetSpot>> spots;
};

// The picture with the items' spots located by the session's calibration, the one that places
// the board view's boxes; nothing while no calibration is in force or no picture is shown.
std::optional<SheetsPicture> PictureForSheets(const AssemblySession& session,
                                              const std::vector<PickListItem>& items);

} // namespace kavelto

#include "app/SheetsPicture.h"

#include "session/AssemblySession.h"

namespace kavelto {

namespace {

std::vector<SheetSpot> ItemSpots(const AssemblySession& session, const PickListItem& item) {
    std::vector<SheetSpot> spots;
    for (std::size_t i = 0; i < item.parts.size(); ++i) {
        const PartRecord& part =
            session.table().parts().at(static_cast<std::size_t>(item.parts[i]));
        // A projective map may send a far position to no pixel: its number is then left out.
        if (const std::optional<PixelPoint> pixel =
                LocatePart(session.calibration(), part.x, part.y))
            spots.push_back({static_cast<int>(i) + 1, *pixel});
    }
    return spots;
}

} // namespace

std::optional<SheetsPicture> PictureForSheets(const AssemblySession& session,
                                              const std::vector<PickListItem>& items) {
    const ViewState& view = session.view();
    if (!IsCalibrated(session.calibration().state) || !view.bitmapPath || !view.pictureSize ||
        view.pictureSize->width <= 0 || view.pictureSize->height <= 0)
        return std::nullopt;
    SheetsPicture picture{
        *view.bitmapPath, *view.pictureSize, view.viewRotation, view.mirrored, {}};
    for (const PickListItem& item : items)
        picture.spots.push_back(ItemSpots(session, item));
    return picture;
}

} // namespace kavelto

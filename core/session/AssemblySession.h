#pragma once

#include "bom/BomState.h"
#include "bom/ProgressReader.h"
#include "geometry/Calibration.h"
#include "geometry/ViewGeometry.h"
#include "geometry/ViewState.h"
#include "keeping/KeptSession.h"
#include "parts/Face.h"
#include "parts/FaceList.h"
#include "parts/FaceSorting.h"
#include "parts/Navigation.h"
#include "parts/PartSelection.h"
#include "parts/PartTable.h"
#include "parts/SortMode.h"
#include "placement/ColumnMap.h"
#include "session/FaceMemory.h"
#include "session/SessionTexts.h"
#include "session/SessionUpdate.h"
#include "session/UndoHistory.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

class PartListObserver;

// One assembly at the bench: the parts, the face and its list, the selection, the board view
// and the calibration, with every rule that runs between two events of the window. Each
// operation changes the state and returns what the window must then do; nothing here shows
// anything itself.
class AssemblySession {
public:
    AssemblySession();
    ~AssemblySession();
    AssemblySession(const AssemblySession&) = delete;
    AssemblySession& operator=(const AssemblySession&) = delete;

    // Told before and after the part list changes as a whole, and when placed marks change; may
    // be null.
    void setObserver(PartListObserver* observer) { observer_ = observer; }

    // Reads the column layout of placement files; the session must not go on after a failure.
    Result<void> loadColumnMap(const std::string& path);

    // The file at path, or nothing when the user cancelled the choice.
    SessionUpdate loadPlacementFile(const std::optional<std::string>& path);
    // The bill of materials at path beside the parts, or nothing when the user cancelled; a
    // box lists what disagrees with the placement file.
    SessionUpdate loadBom(const std::optional<std::string>& path);
    // What the BOM and the parts loaded last disagree on, while a BOM is loaded.
    std::optional<UserMessage> bomMismatchNotice() const;
    // Marks the selected part not fitted, or fitted again.
    SessionUpdate toggleNotFitted();
    SessionUpdate changeFace(Face face);
    // The "Sort by" entry chosen; an entry outside the orders keeps the current one.
    SessionUpdate changeSort(int entry);

    SessionUpdate loadBitmap(const std::optional<std::string>& path);
    SessionUpdate rotateLeft();
    SessionUpdate rotateRight();
    SessionUpdate flip();
    SessionUpdate zoomIn();
    SessionUpdate zoomOut();
    // The board view enlarged about its window point (wx, wy) by steps of the wheel (negative
    // steps reduce it), panned by window pixels, and fitted whole again.
    SessionUpdate zoomOverview(int wx, int wy, int steps);
    SessionUpdate panOverview(int dx, int dy);
    SessionUpdate resetOverviewZoom();

    // The pointer on the board view, converted to picture pixels by the view.
    SessionUpdate pressOnPicture(const PicturePoint& point);
    SessionUpdate dragOnPicture(const PicturePoint& point);
    void releaseOnPicture(const PicturePoint& point);
    // Moves the marker one picture pixel towards the screen's direction (dx, dy), through the
    // view's turn and mirror; it then stands for a point pressed.
    SessionUpdate nudgeMarker(int dx, int dy);

    SessionUpdate cal1();
    SessionUpdate cal2();
    // Beside Cal 1 and Cal 2, for a picture no per-axis scale fits: each added point is
    // answered with how far the fitted map misses the points.
    SessionUpdate addCalPoint();
    SessionUpdate removeLastCalPoint();
    // The calibration field's text.
    std::string calibrationText() const { return CalibrationText(calibration_); }

    // Takes the part list's highlighted row as the selection and, while calibrated, puts the
    // marker on its part.
    SessionUpdate LocateSelectedPart();

    SessionUpdate placeUnplace();
    SessionUpdate nextUnplaced();
    // Run once the user has confirmed clearing every mark.
    SessionUpdate unplaceAll();
    SessionUpdate navigate(NavigationKey key);

    // What a crash must not lose, and putting it back on the same placement file. The picture
    // comes back only while its file is as it was when kept, the calibration only while it is
    // still the file Cal 1 was pressed on; a calibration left out is told.
    KeptSession keptState() const;
    SessionUpdate restore(const KeptSession& kept);
    // Putting a session back onto a placement file exported again: the marks by designator and
    // face. How many of the marks name a part of this file.
    SessionUpdate restoreByDesignators(const KeptSession& kept);
    int knownMarks(const std::vector<KeptMark>& marks) const;
    // Marks placed the parts a progress file lists as placed, by designator and face, with the
    // time it gives; a part left off the board stays unplaced. The designators not found and
    // those refused are told in one box, and a file that lists nothing placed is told.
    SessionUpdate markPlaced(const std::vector<ProgressMark>& marks);
    // Moves on with every operation that changes what keptState() gives, and only then: a
    // press, a drag, a paint or a command that changes nothing leaves it.
    std::uint64_t keptRevision() const { return keptRevision_; }

    // The marks, face, calibration and row that an undo puts back, and putting them back: on
    // another face the face changes first, as the face buttons change it.
    UndoStep undoState() const;
    SessionUpdate returnTo(const UndoStep& step);

    // Selects and locates the part whose designator is text (any case), on either face; the
    // face changes as the face buttons change it. Nothing when no part has that designator.
    std::optional<SessionUpdate> findPart(const std::string& text);
    // The designators of both faces, in table order.
    std::vector<std::string> designators() const;
    // Selects and locates the part of this face nearest to a picture point, when it lies
    // within a few marker boxes of it and a calibration is in force.
    SessionUpdate identifyPartAt(const PicturePoint& point);

    // Where the other parts of the selected part's kind lie on the picture, while calibrated.
    struct Spot {
        PixelPoint pixel;
        bool placed;
        bool notFitted;
    };
    std::vector<Spot> spotsOfSelectedKind() const;
    // Placed parts of the face shown, and its parts to be placed at all: the parts left off the
    // board count in neither.
    int placedOnFace() const;
    int fittedOnFace() const;
    // Placed parts and parts of both faces.
    FaceProgress faceProgress() const;

    // The list's own highlight, which the user changes by clicking or typing in the list.
    void setHighlightedRow(std::optional<int> row);
    std::optional<int> highlightedRow() const { return highlightedRow_; }

    // The PCB count's field text; false, with the count kept, when it holds no valid count.
    bool readPcbCount(const std::string& text);

    // The picture chosen by loadBitmap() opened: its size as stored, 0 x 0 when the file
    // can't be read or decoded.
    void pictureOpened(int width, int height);
    // The board view laid out at this size, in window pixels.
    void setFrameSize(int width, int height);

    const PartTable& table() const { return table_; }
    const FaceList& faceList() const { return *faceList_; }
    const PartRecord& partAtRow(int row) const;
    int itemNumber(int row) const { return (*items_)[static_cast<std::size_t>(row)]; }
    const BomState& bom() const { return bom_; }
    // When each part was marked placed, in seconds since the epoch by table position; 0 for a
    // part not placed in this run.
    const std::vector<std::int64_t>& placedAt() const { return placedAt_; }
    bool isNotFittedAtRow(int row) const { return bom_.isNotFitted(partIndexAtRow(row)); }
    // The BOM line of a row's part, or nullptr.
    const BomLine* bomLineAtRow(int row) const { return bom_.lineOf(partIndexAtRow(row)); }
    int partIndexAtRow(int row) const { return faceList_->indexes[static_cast<std::size_t>(row)]; }
    const PartSelection& selection() const { return selection_; }
    const ViewState& view() const { return view_; }
    const Calibration& calibration() const { return calibration_; }
    const ColumnMap& columnMap() const { return columns_; }
    Face face() const { return face_; }
    SortMode sortMode() const { return sortMode_; }
    std::uint32_t pcbCount() const { return pcbCount_; }
    const std::string& pkpText() const { return pkpText_; }
    // The placement file loaded last, empty before one.
    const std::string& placementPath() const { return placementPath_; }
    const std::string& partsPerFaceText() const { return partsPerFaceText_; }

private:
    void RebuildFaceList(SessionUpdate& update);
    bool takeRememberedView(Face face);
    void clearFaceList();
    void unplaceEveryPart();
    void ResetCalibration();
    std::map<std::pair<std::string, Face>, int> partsByDesignator() const;
    void clearHighlightAtSelectedRow();
    void moveSelectionTo(int row, SessionUpdate& update);
    void takeSelection(int row);
    std::optional<int> listRow() const;
    std::optional<PixelPoint> markerPoint() const;
    SessionUpdate calibrationOutcome(const CalOutcome& outcome);
    std::optional<UserMessage> newPartNotice(const PartRecord& placed) const;
    std::optional<UserMessage> notFittedRefusal(int part);
    std::optional<UserMessage> attachBom(const std::string& path);
    void setMarker(const PicturePoint& point, MarkerMode mode);
    void beginListChange();
    void endListChange();
    // Sets a field of what is kept, moving the revision when its value changes.
    template <typename T> void setKept(T& field, const T& value) {
        if (field != value) {
            field = value;
            ++keptRevision_;
        }
    }

    PartTable table_;
    BomState bom_;
    std::vector<std::int64_t> placedAt_;
    std::unique_ptr<FaceList> faceList_;
    std::unique_ptr<ItemNumbers> items_;
    PartSelection selection_;
    std::optional<int> highlightedRow_;
    ColumnMap columns_;
    ViewState view_;
    Calibration calibration_;
    FaceMemory faceMemory_;
    std::optional<CalibratedPicture> calibratedOn_; // the picture file as Cal 1 found it
    SortMode sortMode_ = SortMode::PackagePrefixValuePartId;
    Face face_ = Face::Top;
    std::uint32_t pcbCount_ = 1;
    std::string pkpText_ = kNoPkpLoaded;
    std::string placementPath_;
    std::string partsPerFaceText_ = kNoFaceYet;
    PartListObserver* observer_ = nullptr;
    std::uint64_t keptRevision_ = 0;
};

} // namespace kavelto

#include "session/AssemblySession.h"

#include "base/FieldParsing.h"
#include "base/TextEncoding.h"
#include "bom/BomMessages.h"
#include "bom/BomReader.h"
#include "geometry/MagnifierGeometry.h"
#include "geometry/OverviewZoom.h"
#include "geometry/Truncate.h"
#include "parts/PartColumns.h"
#include "parts/PartListObserver.h"
#include "placement/PlacementReader.h"
#include "session/SessionTexts.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <map>
#include <utility>

namespace kavelto {

namespace {

// The part of the PCB count's field that is read.
constexpr std::size_t kPcbFieldLength = 31;

// The board view's enlargement for one step of the mouse wheel.
constexpr double kOverviewZoomStep = 1.25;

// How far from a pressed point, in marker boxes, a part is still taken for the one meant.
constexpr double kIdentifyReach = 2.0;

Face FaceOf(const PartRecord& part) {
    return IsOnFace(part.layer, Face::Bottom) ? Face::Bottom : Face::Top;
}

// The placement file's own not-fitted column, if it has one, read as a bill of materials.
std::optional<BomTable> PlacementMarks(const std::optional<std::string>& path) {
    if (!path)
        return std::nullopt;
    Result<BomTable> marks = ReadBomFile(*path, NotFittedMarks::ColumnsOnly);
    if (!marks)
        return std::nullopt;
    return std::move(marks).value();
}

bool SameTextAnyCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

AssemblySession::AssemblySession()
    : faceList_(std::make_unique<FaceList>()), items_(std::make_unique<ItemNumbers>()) {}

AssemblySession::~AssemblySession() = default;

Result<void> AssemblySession::loadColumnMap(const std::string& path) {
    Result<ColumnMap> read = ReadColumnMap(path);
    if (!read)
        return read.failure();
    columns_ = std::move(read).value();
    return {};
}

const PartRecord& AssemblySession::partAtRow(int row) const {
    return table_.part(faceList_->indexes[static_cast<std::size_t>(row)]);
}

// ---- placement file and face list

// The file is read into a table of its own while the list goes on showing the one before; a
// failed load leaves an empty table, never a half-read one.
SessionUpdate AssemblySession::loadPlacementFile(const std::optional<std::string>& path) {
    SessionUpdate update;
    PartTable loaded;
    if (path) {
        Result<PlacementParts> read = ReadPlacementFile(*path, columns_);
        if (read) {
            PlacementParts parts = std::move(read).value();
            loaded = std::move(parts.table);
            update.tell(std::move(parts.notice));
        } else {
            update.tell(read.failure());
        }
    }
    pkpText_ = path ? PkpText(loaded.partCount()) : kNoPkpLoaded;
    faceMemory_.clear();
    placementPath_ = path.value_or("");
    beginListChange();
    table_ = std::move(loaded);
    bom_.partsLoaded(table_, PlacementMarks(path));
    placedAt_.assign(static_cast<std::size_t>(table_.partCount()), 0);
    if (table_.partCount() > 0)
        RebuildFaceList(update);
    else
        clearFaceList();
    endListChange();
    ResetCalibration();
    clearHighlightAtSelectedRow();
    ++keptRevision_;
    return update.refreshingFields();
}

// After a load that found nothing the list, the face list and its count all say so, and
// nothing can step onto parts of the file before.
void AssemblySession::clearFaceList() {
    faceList_->faceCount = 0;
    partsPerFaceText_ = PartsPerFaceText(0);
    highlightedRow_.reset();
    selection_.row.reset();
}

// Runs inside beginListChange() and endListChange(); selects and locates the first row.
void AssemblySession::RebuildFaceList(SessionUpdate& update) {
    FilterAndSortFace(table_, face_, sortMode_, *faceList_);
    NumberItems(table_, *faceList_, *items_);
    partsPerFaceText_ = PartsPerFaceText(faceList_->faceCount);
    highlightedRow_.reset();
    if (faceList_->faceCount > 0)
        moveSelectionTo(0, update);
    else
        selection_.row.reset();
    update.refreshingFields();
}

// ---- the bill of materials and the parts left off the board

SessionUpdate AssemblySession::loadBom(const std::optional<std::string>& path) {
    if (!path)
        return {};
    beginListChange();
    SessionUpdate update;
    update.tell(attachBom(*path));
    endListChange();
    ++keptRevision_;
    return update.repaintAtLeast(Repaint::Soon).refreshingFields();
}

// Reads the BOM and joins it, inside a change of the list; what the user must be told, if
// anything. A BOM that can't be read leaves the one before.
std::optional<UserMessage> AssemblySession::attachBom(const std::string& path) {
    Result<BomTable> read = ReadBomFile(path);
    if (!read)
        return read.failure();
    bom_.attach(path, std::move(read).value(), table_);
    return bomMismatchNotice();
}

// Before a placement file there is nothing to disagree with.
std::optional<UserMessage> AssemblySession::bomMismatchNotice() const {
    if (!bom_.hasBom() || table_.partCount() == 0 || bom_.mismatches().empty())
        return std::nullopt;
    return BomMismatchMessage(bom_.mismatches());
}

SessionUpdate AssemblySession::toggleNotFitted() {
    SessionUpdate update;
    if (!selection_.row || *selection_.row >= faceList_->faceCount)
        return update;
    bom_.toggleByHand(partIndexAtRow(*selection_.row));
    ++keptRevision_;
    if (observer_)
        observer_->placedChanged(*selection_.row, *selection_.row);
    return update.repaintAtLeast(Repaint::Soon);
}

// Told once a part: Enter pressed again on it says nothing more.
std::optional<UserMessage> AssemblySession::notFittedRefusal(int part) {
    if (!bom_.firstRefusal(part))
        return std::nullopt;
    const NotFittedSource source = bom_.notFittedSource(part);
    const char* reason = source == NotFittedSource::Bom             ? kNotFittedByBom
                         : source == NotFittedSource::PlacementFile ? kNotFittedByPlacement
                                                                    : kNotFittedByHand;
    return NotFittedRefusal(DisplayUtf8(table_.part(part).designator), reason);
}

SessionUpdate AssemblySession::changeFace(Face face) {
    SessionUpdate update;
    // The face shown already: nothing at all, so a count typed but not yet read survives.
    if (face_ == face)
        return update;
    faceMemory_.leave(face_, view_, calibration_, calibratedOn_);
    face_ = face;
    ++keptRevision_;
    // A face calibrated before comes back with its picture and calibration, its first row
    // located; any other face keeps the picture shown, out of calibration.
    const bool remembered = takeRememberedView(face);
    beginListChange();
    RebuildFaceList(update);
    endListChange();
    if (!remembered) {
        ResetCalibration();
        clearHighlightAtSelectedRow();
    }
    return update.refreshingFields();
}

// The picture's size comes with pictureOpened(), once the window has opened the file again.
bool AssemblySession::takeRememberedView(Face face) {
    const std::optional<FaceView>& remembered = faceMemory_.of(face);
    if (!remembered)
        return false;
    if (view_.bitmapPath != remembered->bitmapPath)
        view_.pictureSize.reset();
    view_.bitmapPath = remembered->bitmapPath;
    view_.viewRotation = remembered->viewRotation;
    view_.mirrored = remembered->mirrored;
    view_.marker.reset();
    view_.dragging = false;
    ResetOverviewZoom(view_);
    calibration_ = remembered->calibration;
    calibratedOn_ = remembered->calibratedOn;
    return true;
}

SessionUpdate AssemblySession::changeSort(int entry) {
    if (entry >= 0 && entry < kSortModeCount)
        setKept(sortMode_, static_cast<SortMode>(entry));
    SessionUpdate update;
    beginListChange();
    RebuildFaceList(update);
    endListChange();
    return update;
}

// ---- board view

// The picture's size comes with pictureOpened(), once the window has opened the file.
SessionUpdate AssemblySession::loadBitmap(const std::optional<std::string>& path) {
    view_.bitmapPath = path;
    view_.pictureSize.reset();
    // The marker named a point of the picture before, which must not be taken for one of this.
    view_.marker.reset();
    // A press held on the previous picture ends here: its release is no point of this one.
    view_.dragging = false;
    ResetOverviewZoom(view_);
    ResetCalibration();
    clearHighlightAtSelectedRow();
    ++keptRevision_;
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

SessionUpdate AssemblySession::rotateLeft() {
    view_.viewRotation = RotatedLeft(view_.viewRotation);
    ResetOverviewZoom(view_);
    ++keptRevision_;
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

SessionUpdate AssemblySession::rotateRight() {
    view_.viewRotation = RotatedRight(view_.viewRotation);
    ResetOverviewZoom(view_);
    ++keptRevision_;
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

SessionUpdate AssemblySession::flip() {
    view_.mirrored = !view_.mirrored;
    ResetOverviewZoom(view_);
    ++keptRevision_;
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

SessionUpdate AssemblySession::zoomIn() {
    setKept(view_.zoomBoxSize, ZoomedIn(view_.zoomBoxSize));
    return SessionUpdate().repaintAtLeast(Repaint::Soon);
}

SessionUpdate AssemblySession::zoomOut() {
    setKept(view_.zoomBoxSize, ZoomedOut(view_.zoomBoxSize));
    return SessionUpdate().repaintAtLeast(Repaint::Soon);
}

// The wheel's steps enlarge by a quarter each.
SessionUpdate AssemblySession::zoomOverview(int wx, int wy, int steps) {
    ZoomOverviewAt(view_, std::pow(kOverviewZoomStep, steps), wx, wy);
    return SessionUpdate().repaintAtLeast(Repaint::Soon);
}

SessionUpdate AssemblySession::panOverview(int dx, int dy) {
    PanOverview(view_, dx, dy);
    return SessionUpdate().repaintAtLeast(Repaint::Soon);
}

SessionUpdate AssemblySession::resetOverviewZoom() {
    ResetOverviewZoom(view_);
    return SessionUpdate().repaintAtLeast(Repaint::Soon);
}

void AssemblySession::pictureOpened(int width, int height) {
    view_.pictureSize = PixelSize{std::max(width, 0), std::max(height, 0)};
}

void AssemblySession::setFrameSize(int width, int height) {
    view_.frameSize = PixelSize{std::max(width, 0), std::max(height, 0)};
}

// A press counts only on a picture that can be drawn: without one there is no fit to convert
// with.
SessionUpdate AssemblySession::pressOnPicture(const PicturePoint& point) {
    if (!point.inside || !BoardTransform(view_))
        return {};
    view_.dragging = true;
    setMarker(point, MarkerMode::UserPoint);
    clearHighlightAtSelectedRow();
    return SessionUpdate().repaintAtLeast(Repaint::Now);
}

// The marker may leave the picture while dragged; its box then sticks to the edge. A picture
// that turned out undecodable while held has no points any more.
SessionUpdate AssemblySession::dragOnPicture(const PicturePoint& point) {
    if (!view_.dragging || !BoardTransform(view_))
        return {};
    setMarker(point, view_.marker ? view_.marker->mode : MarkerMode::UserPoint);
    return SessionUpdate().repaintAtLeast(Repaint::Now);
}

void AssemblySession::releaseOnPicture(const PicturePoint& point) {
    if (view_.dragging && BoardTransform(view_))
        setMarker(point, MarkerMode::UserPoint);
    view_.dragging = false;
}

SessionUpdate AssemblySession::nudgeMarker(int dx, int dy) {
    const std::optional<ViewTransform> board = BoardTransform(view_);
    if (!board || !view_.marker)
        return {};
    view_.marker = Marker{NudgedPoint(*board, view_.marker->at, dx, dy), MarkerMode::UserPoint};
    clearHighlightAtSelectedRow();
    return SessionUpdate().repaintAtLeast(Repaint::Now);
}

void AssemblySession::setMarker(const PicturePoint& point, MarkerMode mode) {
    view_.marker = Marker{{TruncToInt(point.x), TruncToInt(point.y)}, mode};
}

// ---- calibration

// The picture a calibration is taken on is known from its first point on: restored onto another
// file, or onto this one written over, it would box parts beside them.
SessionUpdate AssemblySession::cal1() {
    const CalOutcome outcome = RecordCalPoint1(calibration_, selection_, markerPoint());
    if (!outcome.failure)
        calibratedOn_ = view_.bitmapPath ? CalibratedPictureNow(*view_.bitmapPath) : std::nullopt;
    return calibrationOutcome(outcome);
}

SessionUpdate AssemblySession::cal2() {
    return calibrationOutcome(RecordCalPoint2(calibration_, selection_, markerPoint()));
}

SessionUpdate AssemblySession::addCalPoint() {
    return calibrationOutcome(AddCalPoint(calibration_, selection_, markerPoint()));
}

// Nothing new was pressed: the field's count of points says enough.
SessionUpdate AssemblySession::removeLastCalPoint() {
    CalOutcome outcome = RemoveLastCalPoint(calibration_);
    outcome.fitted.reset();
    return calibrationOutcome(outcome);
}

std::optional<PixelPoint> AssemblySession::markerPoint() const {
    if (!view_.marker)
        return std::nullopt;
    return view_.marker->at;
}

SessionUpdate AssemblySession::calibrationOutcome(const CalOutcome& outcome) {
    ++keptRevision_;
    SessionUpdate update;
    if (outcome.failure)
        update.message = outcome.failure;
    else if (outcome.fitted)
        update.message = FitReport(FitReportText(*outcome.fitted));
    update.refreshFields = outcome.refreshFields;
    return update;
}

void AssemblySession::ResetCalibration() {
    kavelto::ResetCalibration(calibration_, selection_);
    calibratedOn_.reset();
}

SessionUpdate AssemblySession::LocateSelectedPart() {
    const std::optional<int> row = listRow();
    if (!row)
        return {};
    takeSelection(*row);
    const PartRecord& part = partAtRow(*row);
    const std::optional<PixelPoint> pixel = LocatePart(calibration_, part.x, part.y);
    if (!pixel)
        return {};
    view_.marker = Marker{*pixel, MarkerMode::PartLocated};
    return SessionUpdate().repaintAtLeast(Repaint::Now);
}

// ---- placing and stepping

SessionUpdate AssemblySession::placeUnplace() {
    SessionUpdate update;
    update.refreshFields = true;
    const std::optional<int> row = listRow();
    if (!row)
        return update;
    takeSelection(*row);
    const int index = partIndexAtRow(*row);
    PartRecord& part = table_.part(index);
    // A part left off the board is never marked placed; one placed before may be unmarked.
    if (bom_.isNotFitted(index) && !part.placed)
        return update.tell(notFittedRefusal(index));
    part.placed = !part.placed;
    placedAt_[static_cast<std::size_t>(index)] = part.placed ? std::time(nullptr) : 0;
    ++keptRevision_;
    if (observer_)
        observer_->placedChanged(*row, *row);
    // The board view shows the progress and the placed spots.
    update.repaint = Repaint::Soon;
    if (!part.placed)
        return update;
    update = nextUnplaced();
    return update.tell(newPartNotice(part)).repaintAtLeast(Repaint::Soon);
}

// The box that announces a new kind of part, when the part now selected is not of the kind
// just placed.
std::optional<UserMessage> AssemblySession::newPartNotice(const PartRecord& placed) const {
    const int nextRow = *selection_.row; // placeUnplace has just selected a row
    const PartRecord& next = partAtRow(nextRow);
    if (IsSameKind(placed, next))
        return std::nullopt;
    const BomLine* line = bomLineAtRow(nextRow);
    return NewPartNotice(itemNumber(nextRow), DisplayUtf8(next.value), DisplayUtf8(next.package),
                         line ? DisplayUtf8(line->mpn) : std::string());
}

SessionUpdate AssemblySession::nextUnplaced() {
    SessionUpdate update;
    const std::optional<int> row = listRow();
    if (const std::optional<int> next =
            FindNextUnplaced(table_, *faceList_, row ? *row + 1 : 0, bom_.notFittedFlags()))
        moveSelectionTo(*next, update);
    return update.refreshingFields();
}

SessionUpdate AssemblySession::unplaceAll() {
    unplaceEveryPart();
    ++keptRevision_;
    if (observer_ && faceList_->faceCount > 0)
        observer_->placedChanged(0, faceList_->faceCount - 1);
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

void AssemblySession::unplaceEveryPart() {
    for (int i = 0; i < table_.partCount(); ++i)
        table_.part(i).placed = false;
    placedAt_.assign(static_cast<std::size_t>(table_.partCount()), 0);
}

// Only a list with rows has a selected row to move from.
SessionUpdate AssemblySession::navigate(NavigationKey key) {
    SessionUpdate update;
    if (!selection_.row)
        return update;
    if (const std::optional<int> row = NavigationTarget(key, *selection_.row, faceList_->faceCount))
        moveSelectionTo(*row, update);
    return update;
}

void AssemblySession::moveSelectionTo(int row, SessionUpdate& update) {
    clearHighlightAtSelectedRow();
    takeSelection(row);
    highlightedRow_ = row;
    update.revealRow(row).repaintAtLeast(LocateSelectedPart().repaint);
}

void AssemblySession::takeSelection(int row) {
    const PartRecord& part = partAtRow(row);
    setKept(selection_.row, std::optional<int>(row));
    selection_.part = BoardPosition{part.x, part.y};
}

// ---- the list's highlight and the fields

void AssemblySession::setHighlightedRow(std::optional<int> row) {
    highlightedRow_ = row;
}

// The highlighted row, when it names a row of the face list.
std::optional<int> AssemblySession::listRow() const {
    if (highlightedRow_ && *highlightedRow_ >= 0 && *highlightedRow_ < faceList_->faceCount)
        return highlightedRow_;
    return std::nullopt;
}

void AssemblySession::clearHighlightAtSelectedRow() {
    if (highlightedRow_ && highlightedRow_ == selection_.row)
        highlightedRow_.reset();
}

bool AssemblySession::readPcbCount(const std::string& text) {
    std::uint32_t count = pcbCount_;
    const bool read = ParseUnsignedCount(text.substr(0, kPcbFieldLength).c_str(), count);
    setKept(pcbCount_, count);
    return read;
}

void AssemblySession::beginListChange() {
    if (observer_)
        observer_->faceListAboutToChange();
}

void AssemblySession::endListChange() {
    if (observer_)
        observer_->faceListChanged();
}

// ---- keeping and restoring

KeptSession AssemblySession::keptState() const {
    KeptSession kept;
    kept.face = face_;
    kept.sortMode = sortMode_;
    kept.pcbCount = pcbCount_;
    kept.viewRotation = view_.viewRotation;
    kept.mirrored = view_.mirrored;
    kept.zoomBoxSize = view_.zoomBoxSize;
    if (view_.bitmapPath)
        kept.picture = PictureFileNow(*view_.bitmapPath);
    kept.calibration = calibration_;
    const Face other = face_ == Face::Top ? Face::Bottom : Face::Top;
    if (const std::optional<FaceView>& view = faceMemory_.of(other))
        kept.otherFace = KeptFace{PictureFileNow(view->bitmapPath), view->viewRotation,
                                  view->mirrored, view->calibration};
    kept.calibratedOn = calibratedOn_;
    for (int i = 0; i < table_.partCount(); ++i) {
        const PartRecord& part = table_.part(i);
        if (!part.placed)
            continue;
        kept.placed.push_back(i);
        kept.marks.push_back({part.designator, FaceOf(part), part.value, part.package});
    }
    kept.placedOnFace = placedOnFace();
    kept.faceCount = fittedOnFace();
    kept.faces = faceProgress();
    kept.bomPath = bom_.bomPath();
    kept.notFitted = bom_.notFittedParts();
    kept.selectedRow = selection_.row.value_or(0);
    return kept;
}

SessionUpdate AssemblySession::restore(const KeptSession& kept) {
    SessionUpdate update;
    beginListChange();
    unplaceEveryPart();
    for (const int index : kept.placed)
        if (index >= 0 && index < table_.partCount())
            table_.part(index).placed = true;
    const bool otherFace = kept.face != face_;
    face_ = kept.face;
    sortMode_ = kept.sortMode;
    pcbCount_ = kept.pcbCount;
    // Any other turn than a quarter one, from a damaged file, shows the picture upright.
    view_.viewRotation = QuarterTurnDegrees(kept.viewRotation);
    view_.mirrored = kept.mirrored;
    ResetOverviewZoom(view_);
    view_.zoomBoxSize = std::clamp(kept.zoomBoxSize, kMinZoomBoxSize, kMaxZoomBoxSize);
    // The pixels of the calibration are those of the picture it was taken on.
    const bool samePicture = kept.picture && PictureFileNow(kept.picture->path) == kept.picture;
    const bool calibratedHere =
        samePicture && kept.calibratedOn &&
        CalibratedPictureNow(kept.calibratedOn->file.path) == kept.calibratedOn;
    if (samePicture)
        loadBitmap(kept.picture->path);
    if (calibratedHere) {
        calibration_ = kept.calibration;
        calibratedOn_ = kept.calibratedOn;
    } else if (otherFace) {
        ResetCalibration();
    }
    // A picture's calibration that could not come back is told before the BOM's notice.
    if (kept.bomPath)
        if (std::optional<UserMessage> notice = attachBom(*kept.bomPath))
            update.tell(std::move(notice));
    if (kept.notFitted)
        bom_.restoreNotFitted(*kept.notFitted);
    faceMemory_.clear();
    const std::optional<KeptFace>& keptOther = kept.otherFace;
    if (keptOther && keptOther->picture &&
        PictureFileNow(keptOther->picture->path) == keptOther->picture)
        faceMemory_.remember(face_ == Face::Top ? Face::Bottom : Face::Top,
                             FaceView{keptOther->picture->path,
                                      QuarterTurnDegrees(keptOther->viewRotation),
                                      keptOther->mirrored, keptOther->calibration,
                                      CalibratedPictureNow(keptOther->picture->path)});
    if (kept.calibration.state != CalState::None && !calibratedHere)
        update.tell(CalibrationNotRestored(kept.calibratedOn
                                               ? kept.calibratedOn->file.path
                                               : kept.picture.value_or(KeptPicture{}).path));
    RebuildFaceList(update);
    endListChange();
    if (kept.selectedRow >= 0 && kept.selectedRow < faceList_->faceCount)
        moveSelectionTo(kept.selectedRow, update);
    ++keptRevision_;
    return update.repaintAtLeast(Repaint::Soon);
}

// ---- undo

UndoStep AssemblySession::undoState() const {
    UndoStep step;
    step.placed.reserve(static_cast<std::size_t>(table_.partCount()));
    for (const PartRecord& part : table_.parts())
        step.placed.push_back(part.placed);
    step.face = face_;
    step.calibration = calibration_;
    step.row = selection_.row;
    return step;
}

// The row comes back last, so that it is located with the calibration put back.
SessionUpdate AssemblySession::returnTo(const UndoStep& step) {
    SessionUpdate update = changeFace(step.face);
    for (int i = 0; i < table_.partCount(); ++i)
        table_.part(i).placed = static_cast<std::size_t>(i) < step.placed.size() &&
                                step.placed[static_cast<std::size_t>(i)];
    calibration_ = step.calibration;
    ++keptRevision_;
    if (observer_ && faceList_->faceCount > 0)
        observer_->placedChanged(0, faceList_->faceCount - 1);
    if (step.row && *step.row >= 0 && *step.row < faceList_->faceCount)
        moveSelectionTo(*step.row, update);
    return update.repaintAtLeast(Repaint::Soon).refreshingFields();
}

// The first part of each designator on each face, by its table position.
std::map<std::pair<std::string, Face>, int> AssemblySession::partsByDesignator() const {
    std::map<std::pair<std::string, Face>, int> parts;
    for (int i = 0; i < table_.partCount(); ++i)
        parts.emplace(std::make_pair(table_.part(i).designator, FaceOf(table_.part(i))), i);
    return parts;
}

int AssemblySession::knownMarks(const std::vector<KeptMark>& marks) const {
    const std::map<std::pair<std::string, Face>, int> parts = partsByDesignator();
    return static_cast<int>(std::count_if(marks.begin(), marks.end(), [&](const KeptMark& mark) {
        return parts.count({mark.designator, mark.face}) > 0;
    }));
}

// The marks go to the parts of the same designator on the same face; the rest of the session
// comes back as restore() brings it. The marks of parts gone, and of parts whose value or
// package changed, are told in one box.
SessionUpdate AssemblySession::restoreByDesignators(const KeptSession& kept) {
    const std::map<std::pair<std::string, Face>, int> parts = partsByDesignator();
    KeptSession mapped = kept;
    mapped.placed.clear();
    mapped.selectedRow = 0;
    std::vector<std::string> gone;
    std::vector<std::string> changed;
    for (const KeptMark& mark : kept.marks) {
        const auto found = parts.find({mark.designator, mark.face});
        if (found == parts.end()) {
            gone.push_back(DisplayUtf8(mark.designator));
            continue;
        }
        mapped.placed.push_back(found->second);
        const PartRecord& part = table_.part(found->second);
        if (part.value != mark.value || part.package != mark.package)
            changed.push_back(DisplayUtf8(mark.designator) + " (" + DisplayUtf8(mark.value) + ", " +
                              DisplayUtf8(mark.package) + " now " + DisplayUtf8(part.value) + ", " +
                              DisplayUtf8(part.package) + ")");
    }
    SessionUpdate update = restore(mapped);
    if (gone.empty() && changed.empty())
        return update;
    UserMessage notice = MarksByDesignatorsNotice(gone, changed);
    if (update.message)
        notice.text += "\n\n" + update.message->text;
    return update.tell(std::move(notice));
}

// A mark of the file that names a part placed already leaves it, and its time, as they are.
SessionUpdate AssemblySession::markPlaced(const std::vector<ProgressMark>& marks) {
    SessionUpdate update;
    if (marks.empty())
        return update.tell(NothingPlacedInProgress());
    const std::map<std::pair<std::string, Face>, int> parts = partsByDesignator();
    std::vector<std::string> notFound;
    std::vector<std::string> notFitted;
    bool changed = false;
    for (const ProgressMark& mark : marks) {
        const auto found = mark.face ? parts.find({mark.designator, *mark.face}) : parts.end();
        if (found == parts.end()) {
            notFound.push_back(DisplayUtf8(mark.designator));
        } else if (bom_.isNotFitted(found->second)) {
            notFitted.push_back(DisplayUtf8(mark.designator));
        } else if (PartRecord& part = table_.part(found->second); !part.placed) {
            part.placed = true;
            placedAt_[static_cast<std::size_t>(found->second)] = mark.placedAt;
            changed = true;
        }
    }
    if (changed) {
        ++keptRevision_;
        if (observer_ && faceList_->faceCount > 0)
            observer_->placedChanged(0, faceList_->faceCount - 1);
        update.repaintAtLeast(Repaint::Soon).refreshingFields();
    }
    if (!notFound.empty() || !notFitted.empty())
        update.tell(ProgressNotAllMarked(notFound, notFitted));
    return update;
}

// ---- finding and identifying parts

std::optional<SessionUpdate> AssemblySession::findPart(const std::string& text) {
    const std::vector<PartRecord>& parts = table_.parts();
    const auto named = std::find_if(parts.begin(), parts.end(), [&](const PartRecord& part) {
        return SameTextAnyCase(DesignatorText(part), text);
    });
    if (named == parts.end())
        return std::nullopt;
    const int found = static_cast<int>(named - parts.begin());
    SessionUpdate update;
    const Face face = FaceOf(*named);
    if (face != face_)
        update = changeFace(face);
    const auto* begin = faceList_->indexes.data();
    const int row = static_cast<int>(std::find(begin, begin + faceList_->faceCount, found) - begin);
    moveSelectionTo(row, update);
    return update.refreshingFields();
}

std::vector<std::string> AssemblySession::designators() const {
    std::vector<std::string> texts;
    texts.reserve(table_.parts().size());
    for (const PartRecord& part : table_.parts())
        texts.push_back(DesignatorText(part));
    return texts;
}

SessionUpdate AssemblySession::identifyPartAt(const PicturePoint& point) {
    if (!IsCalibrated(calibration_.state))
        return {};
    const double reach = kIdentifyReach * view_.zoomBoxSize;
    double nearest = reach * reach;
    std::optional<int> found;
    for (int row = 0; row < faceList_->faceCount; ++row) {
        const PartRecord& part = partAtRow(row);
        const std::optional<PixelPoint> pixel = LocatePart(calibration_, part.x, part.y);
        if (!pixel)
            continue;
        const double dx = pixel->x - static_cast<double>(point.x);
        const double dy = pixel->y - static_cast<double>(point.y);
        if (dx * dx + dy * dy <= nearest) {
            nearest = dx * dx + dy * dy;
            found = row;
        }
    }
    SessionUpdate update;
    if (found)
        moveSelectionTo(*found, update);
    return update;
}

// ---- what the board view shows beside the marker

std::vector<AssemblySession::Spot> AssemblySession::spotsOfSelectedKind() const {
    std::vector<Spot> spots;
    if (!IsCalibrated(calibration_.state) || !selection_.row || *selection_.row < 0 ||
        *selection_.row >= faceList_->faceCount)
        return spots;
    const int selected = *selection_.row;
    const PartRecord& kind = partAtRow(selected);
    for (int row = 0; row < faceList_->faceCount; ++row) {
        const PartRecord& part = partAtRow(row);
        if (row == selected || !IsSameKind(part, kind))
            continue;
        if (const std::optional<PixelPoint> pixel = LocatePart(calibration_, part.x, part.y))
            spots.push_back({*pixel, part.placed, isNotFittedAtRow(row)});
    }
    return spots;
}

FaceProgress AssemblySession::faceProgress() const {
    FaceProgress progress;
    for (const PartRecord& part : table_.parts()) {
        const bool bottom = IsOnFace(part.layer, Face::Bottom);
        (bottom ? progress.partsBottom : progress.partsTop) += 1;
        if (part.placed)
            (bottom ? progress.placedBottom : progress.placedTop) += 1;
    }
    return progress;
}

int AssemblySession::placedOnFace() const {
    int placed = 0;
    for (int row = 0; row < faceList_->faceCount; ++row)
        placed += partAtRow(row).placed && !isNotFittedAtRow(row) ? 1 : 0;
    return placed;
}

int AssemblySession::fittedOnFace() const {
    int fitted = 0;
    for (int row = 0; row < faceList_->faceCount; ++row)
        fitted += isNotFittedAtRow(row) ? 0 : 1;
    return fitted;
}

} // namespace kavelto

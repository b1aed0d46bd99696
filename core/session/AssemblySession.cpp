#include "session/AssemblySession.h"

#include "base/FieldParsing.h"
#include "base/TextEncoding.h"
#include "bom/BomMessages.h"
#include "bom/BomReader.h"
#include "geometry/Truncate.h"
#include "parts/PartColumns.h"
#include "parts/PartListObserver.h"
#include "placement/PlacementReader.h"
#include "session/SessionTexts.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <utility>

namespace kavelto {

namespace {

// The part of the PCB count's field that is read.
constexpr std::size_t kPcbFieldLength = 31;

// How far from a pressed point, in marker boxes, a part is still taken for the one meant.
constexpr double kIdentifyReach = 2.0;

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
    face_ = face;
    ++keptRevision_;
    beginListChange();
    RebuildFaceList(update);
    endListChange();
    ResetCalibration();
    clearHighlightAtSelectedRow();
    return update;
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
    ResetCalibration();
    clearHighlightAtSelectedRow();
    ++keptRevision_;
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

SessionUpdate AssemblySession::rotateLeft() {
    view_.viewRotation = RotatedLeft(view_.viewRotation);
    ++keptRevision_;
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

SessionUpdate AssemblySession::rotateRight() {
    view_.viewRotation = RotatedRight(view_.viewRotation);
    ++keptRevision_;
    return SessionUpdate().repaintAtLeast(Repaint::Soon).refreshingFields();
}

SessionUpdate AssemblySession::flip() {
    view_.mirrored = !view_.mirrored;
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

void AssemblySession::setMarker(const PicturePoint& point, MarkerMode mode) {
    view_.marker = Marker{{TruncToInt(point.x), TruncToInt(point.y)}, mode};
}

// ---- calibration

SessionUpdate AssemblySession::cal1() {
    return calibrationOutcome(RecordCalPoint1(calibration_, selection_, markerPoint()));
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
    for (int i = 0; i < table_.partCount(); ++i)
        if (table_.part(i).placed)
            kept.placed.push_back(i);
    kept.placedOnFace = placedOnFace();
    kept.faceCount = fittedOnFace();
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
    view_.zoomBoxSize = std::clamp(kept.zoomBoxSize, kMinZoomBoxSize, kMaxZoomBoxSize);
    // The pixels of the calibration are those of the picture it was taken on.
    if (kept.picture && PictureFileNow(kept.picture->path) == kept.picture) {
        loadBitmap(kept.picture->path);
        calibration_ = kept.calibration;
    } else if (otherFace) {
        ResetCalibration();
    }
    if (kept.bomPath)
        update.tell(attachBom(*kept.bomPath));
    if (kept.notFitted)
        bom_.restoreNotFitted(*kept.notFitted);
    RebuildFaceList(update);
    endListChange();
    if (kept.selectedRow >= 0 && kept.selectedRow < faceList_->faceCount)
        moveSelectionTo(kept.selectedRow, update);
    ++keptRevision_;
    return update.repaintAtLeast(Repaint::Soon);
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
    const Face face = IsOnFace(named->layer, Face::Bottom) ? Face::Bottom : Face::Top;
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

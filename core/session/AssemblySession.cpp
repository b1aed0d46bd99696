#include "session/AssemblySession.h"

#include "base/FieldParsing.h"
#include "parts/PartColumns.h"
#include "parts/PartListObserver.h"
#include "placement/PlacementReader.h"
#include "base/TextEncoding.h"
#include "geometry/Truncate.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace kavelto {

namespace {

// The part of the PCB count's field that is read.
constexpr std::size_t kPcbFieldLength = 31;

// How far from a pressed point, in marker boxes, a part is still taken for the one meant.
constexpr double kIdentifyReach = 2.0;

bool SameTextAnyCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

template <std::size_t N> std::string_view FieldBytes(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

} // namespace

AssemblySession::AssemblySession()
    : table_(std::make_unique<PartTable>()), faceList_(std::make_unique<FaceList>()),
      items_(std::make_unique<ItemNumbers>()) {}

AssemblySession::~AssemblySession() = default;

bool AssemblySession::loadColumnMap(const std::string& path, std::string& message) {
    return LoadColumnMap(path, columns_, message) == 0;
}

const PartRecord& AssemblySession::partAtRow(int row) const {
    return table_
        ->parts[static_cast<std::size_t>(faceList_->indexes[static_cast<std::size_t>(row)])];
}

// ---- placement file and face list

SessionUpdate AssemblySession::loadPlacementFile(const std::optional<std::string>& path) {
    SessionUpdate update;
    // The reader overwrites records that the list shows: the list looks away until it is done.
    beginListChange();
    if (path) {
        const PlacementReadResult result = ReadPlacementFile(*path, columns_, *table_);
        if (result.error)
            update.message = ErrorMessage(result.error);
        table_->partCount = result.count;
        if (result.count > 0) {
            pkpText_ = std::to_string(result.count) + " parts loaded";
            RebuildFaceList(update);
        } else {
            pkpText_ = "no parts found";
            clearFaceList();
        }
    } else {
        pkpText_ = "no pkp loaded";
        table_->partCount = 0;
        clearFaceList();
    }
    endListChange();
    ResetCalibration();
    clearHighlightAtSelectedRow();
    update.refreshFields = true;
    return update;
}

// After a load that found nothing the list, the face list and its count all say so, and
// nothing can step onto parts of the file before.
void AssemblySession::clearFaceList() {
    faceList_->faceCount = 0;
    partsPerFaceText_ = "0 parts/face";
    highlightedRow_.reset();
}

// Runs inside beginListChange() and endListChange(); selects and locates the first row.
void AssemblySession::RebuildFaceList(SessionUpdate& update) {
    FilterAndSortFace(*table_, face_, sortMode_, *faceList_);
    NumberItems(*table_, *faceList_, *items_);
    partsPerFaceText_ = std::to_string(faceList_->faceCount) + " parts/face";
    highlightedRow_.reset();
    if (faceList_->faceCount > 0)
        moveSelectionTo(0, update);
    update.refreshFields = true;
}

SessionUpdate AssemblySession::changeFace(Face face) {
    SessionUpdate update;
    // The face shown already: nothing at all, so a count typed but not yet read survives.
    if (face_ == face)
        return update;
    face_ = face;
    beginListChange();
    RebuildFaceList(update);
    endListChange();
    ResetCalibration();
    clearHighlightAtSelectedRow();
    return update;
}

SessionUpdate AssemblySession::changeSort(int entry) {
    if (entry >= 0 && entry < kSortModeCount)
        sortMode_ = static_cast<SortMode>(entry);
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
    SessionUpdate update;
    update.repaint = Repaint::Soon;
    update.refreshFields = true;
    return update;
}

SessionUpdate AssemblySession::rotateLeft() {
    view_.viewRotation = RotatedLeft(view_.viewRotation);
    return {kNoRow, Repaint::Soon, std::nullopt, true};
}

SessionUpdate AssemblySession::rotateRight() {
    view_.viewRotation = RotatedRight(view_.viewRotation);
    return {kNoRow, Repaint::Soon, std::nullopt, true};
}

SessionUpdate AssemblySession::flip() {
    view_.mirrored = !view_.mirrored;
    return {kNoRow, Repaint::Soon, std::nullopt, true};
}

SessionUpdate AssemblySession::zoomIn() {
    view_.zoomBoxSize = ZoomedIn(view_.zoomBoxSize);
    return {kNoRow, Repaint::Soon, std::nullopt, false};
}

SessionUpdate AssemblySession::zoomOut() {
    view_.zoomBoxSize = ZoomedOut(view_.zoomBoxSize);
    return {kNoRow, Repaint::Soon, std::nullopt, false};
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
    return {kNoRow, Repaint::Now, std::nullopt, false};
}

// The marker may leave the picture while dragged; its box then sticks to the edge. A picture
// that turned out undecodable while held has no points any more.
SessionUpdate AssemblySession::dragOnPicture(const PicturePoint& point) {
    if (!view_.dragging || !BoardTransform(view_))
        return {};
    setMarker(point, view_.marker ? view_.marker->mode : MarkerMode::UserPoint);
    return {kNoRow, Repaint::Now, std::nullopt, false};
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
    SessionUpdate update;
    if (outcome.message)
        update.message = ErrorMessage(outcome.message);
    else if (outcome.fitted)
        update.message = UserMessage{FitReportText(*outcome.fitted), "Calibration",
                                     MessageButtons::Ok, MessageIcon::Information};
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
    const std::optional<PixelPoint> pixel =
        LocatePart(calibration_, selection_.selectedX, selection_.selectedY);
    if (!pixel)
        return {};
    view_.marker = Marker{*pixel, MarkerMode::PartLocated};
    return {kNoRow, Repaint::Now, std::nullopt, false};
}

// ---- placing and stepping

SessionUpdate AssemblySession::placeUnplace() {
    SessionUpdate update;
    update.refreshFields = true;
    const std::optional<int> row = listRow();
    if (!row)
        return update;
    takeSelection(*row);
    const int partIndex = faceList_->indexes[static_cast<std::size_t>(*row)];
    PartRecord& part = table_->parts[static_cast<std::size_t>(partIndex)];
    part.placed = part.placed ? 0 : 1;
    if (observer_)
        observer_->placedChanged(*row, *row);
    // The board view shows the progress and the placed spots.
    update.repaint = Repaint::Soon;
    if (!part.placed)
        return update;
    update = nextUnplaced();
    update.message = newPartNotice(part);
    if (update.repaint == Repaint::None)
        update.repaint = Repaint::Soon;
    return update;
}

// The box that announces a new kind of part, when the part now selected is not of the kind
// just placed.
std::optional<UserMessage> AssemblySession::newPartNotice(const PartRecord& placed) const {
    const PartRecord& next = partAtRow(selection_.selectedRow);
    if (IsSameKind(placed, next))
        return std::nullopt;
    return UserMessage{"New part !\n\nItem# " + std::to_string(itemNumber(selection_.selectedRow)) +
                           "\n" + DisplayUtf8(FieldBytes(next.value)) + ", " +
                           DisplayUtf8(FieldBytes(next.package)),
                       "Placement", MessageButtons::Ok, MessageIcon::None};
}

SessionUpdate AssemblySession::nextUnplaced() {
    SessionUpdate update;
    const std::optional<int> row = listRow();
    const int next = FindNextUnplaced(*table_, *faceList_, row ? *row + 1 : 0);
    if (next != kNoRow)
        moveSelectionTo(next, update);
    update.refreshFields = true;
    return update;
}

UserMessage AssemblySession::unplaceAllQuestion() {
    return {"Unplace all components on both sides ?", "Please confirm", MessageButtons::OkCancel,
            MessageIcon::Exclamation};
}

SessionUpdate AssemblySession::unplaceAll() {
    for (int i = 0; i < table_->partCount; ++i)
        table_->parts[static_cast<std::size_t>(i)].placed = 0;
    if (observer_ && faceList_->faceCount > 0)
        observer_->placedChanged(0, faceList_->faceCount - 1);
    return {kNoRow, Repaint::Soon, std::nullopt, true};
}

SessionUpdate AssemblySession::navigate(NavigationKey key) {
    SessionUpdate update;
    const int row = NavigationTarget(key, selection_.selectedRow, faceList_->faceCount);
    if (row != kNoRow)
        moveSelectionTo(row, update);
    return update;
}

void AssemblySession::moveSelectionTo(int row, SessionUpdate& update) {
    clearHighlightAtSelectedRow();
    takeSelection(row);
    highlightedRow_ = row;
    update.reveal = row;
    const SessionUpdate located = LocateSelectedPart();
    if (located.repaint != Repaint::None)
        update.repaint = located.repaint;
}

void AssemblySession::takeSelection(int row) {
    const PartRecord& part = partAtRow(row);
    selection_.selectedRow = row;
    selection_.selectedX = part.x;
    selection_.selectedY = part.y;
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
    if (highlightedRow_ == selection_.selectedRow)
        highlightedRow_.reset();
}

bool AssemblySession::readPcbCount(const std::string& text) {
    return ParseUnsignedCount(text.substr(0, kPcbFieldLength).c_str(), pcbCount_);
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
    for (int i = 0; i < table_->partCount; ++i)
        if (table_->parts[static_cast<std::size_t>(i)].placed)
            kept.placed.push_back(i);
    kept.placedOnFace = placedOnFace();
    kept.faceCount = faceList_->faceCount;
    return kept;
}

SessionUpdate AssemblySession::restore(const KeptSession& kept) {
    SessionUpdate update;
    beginListChange();
    for (int i = 0; i < table_->partCount; ++i)
        table_->parts[static_cast<std::size_t>(i)].placed = 0;
    for (const int index : kept.placed)
        if (index < table_->partCount)
            table_->parts[static_cast<std::size_t>(index)].placed = 1;
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
    RebuildFaceList(update);
    endListChange();
    if (update.repaint == Repaint::None)
        update.repaint = Repaint::Soon;
    return update;
}

// ---- finding and identifying parts

std::optional<SessionUpdate> AssemblySession::findPart(const std::string& text) {
    int found = kNoRow;
    for (int i = 0; i < table_->partCount && found == kNoRow; ++i)
        if (SameTextAnyCase(DesignatorText(table_->parts[static_cast<std::size_t>(i)]), text))
            found = i;
    if (found == kNoRow)
        return std::nullopt;
    SessionUpdate update;
    const Face face = IsOnFace(table_->parts[static_cast<std::size_t>(found)].layer, Face::Bottom)
                          ? Face::Bottom
                          : Face::Top;
    if (face != face_)
        update = changeFace(face);
    const auto* begin = faceList_->indexes.data();
    const int row = static_cast<int>(std::find(begin, begin + faceList_->faceCount, found) - begin);
    moveSelectionTo(row, update);
    update.refreshFields = true;
    return update;
}

std::vector<std::string> AssemblySession::designators() const {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(table_->partCount));
    for (int i = 0; i < table_->partCount; ++i)
        texts.push_back(DesignatorText(table_->parts[static_cast<std::size_t>(i)]));
    return texts;
}

SessionUpdate AssemblySession::identifyPartAt(const PicturePoint& point) {
    if (!IsCalibrated(calibration_.state))
        return {};
    const double reach = kIdentifyReach * view_.zoomBoxSize;
    double nearest = reach * reach;
    int found = kNoRow;
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
    if (found != kNoRow)
        moveSelectionTo(found, update);
    return update;
}

// ---- what the board view shows beside the marker

std::vector<AssemblySession::Spot> AssemblySession::spotsOfSelectedKind() const {
    std::vector<Spot> spots;
    const int selected = selection_.selectedRow;
    if (!IsCalibrated(calibration_.state) || selected < 0 || selected >= faceList_->faceCount)
        return spots;
    const PartRecord& kind = partAtRow(selected);
    for (int row = 0; row < faceList_->faceCount; ++row) {
        const PartRecord& part = partAtRow(row);
        if (row == selected || !IsSameKind(part, kind))
            continue;
        if (const std::optional<PixelPoint> pixel = LocatePart(calibration_, part.x, part.y))
            spots.push_back({*pixel, part.placed != 0});
    }
    return spots;
}

int AssemblySession::placedOnFace() const {
    int placed = 0;
    for (int row = 0; row < faceList_->faceCount; ++row)
        placed += partAtRow(row).placed != 0;
    return placed;
}

} // namespace kavelto

#include "CPlacementDlg.h"

#include "AppIdentity.h"
#include "CAboutDlg.h"
#include "CKeymapDlg.h"
#include "ClickableLabel.h"
#include "DialogUnits.h"
#include "DisplayText.h"
#include "FaceSorting.h"
#include "FieldParsing.h"
#include "MainWindowControls.h"
#include "Navigation.h"
#include "PaintBoard.h"
#include "PartColumns.h"
#include "PartListModel.h"
#include "PartListView.h"
#include "PickList.h"
#include "PickListPage.h"
#include "PickListText.h"
#include "PlacementReader.h"
#include "Platform.h"
#include "ProgramIcon.h"
#include "ShortcutKeys.h"
#include "Truncate.h"
#include "ViewGeometry.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

using namespace kavelto;

namespace {

constexpr int kMarginToEdge = 10;

QString Caption() {
    return QStringLiteral("Kavelto, offered by %1 (%2) - version %3")
        .arg(QLatin1String(kMakerName), QLatin1String(kMakerSite), QLatin1String(kProgramVersion));
}

// The page's place in the user's temporary directory, or nothing when there is none: an
// empty directory name would mean the working directory.
QString GetPickListPath() {
    const QString directory = QDir::tempPath();
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        return {};
    return QDir(directory).absoluteFilePath(QStringLiteral("picklst.html"));
}

// The program's name as message boxes show it: the executable's name without extension.
QString ProgramName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void SetTextIfChanged(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

CPlacementDlg::CPlacementDlg(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), table_(std::make_unique<PartTable>()),
      faceList_(std::make_unique<FaceList>()),
      controls_(std::make_unique<MainWindowControls>(*this)),
      model_(new PartListModel(*table_, *faceList_, this)) {
    setWindowTitle(Caption());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(false);
    const DialogUnits units(font());
    resize(units.toPixelsX(kMainWindowWidth), units.toPixelsY(kMainWindowHeight));

    auto* about = new QAction(QStringLiteral("&About Kavelto..."), this);
    connect(about, &QAction::triggered, this, &CPlacementDlg::OnAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    controls_->logo->setPixmap(QPixmap(QStringLiteral(":/kavelto/logo.png")));
    pkpText_ = QStringLiteral("no pkp loaded");
    partsPerFaceText_ = QStringLiteral("none");
    pcbCount_ = 1;
    controls_->sortBy->setCurrentIndex(0);
    setUpPartList();
    wireControls();
    new ShortcutKeys(*this, [this](ShortcutAction action) { act(action); });
    RefreshFields();
    controls_->partList->setFocus();
}

CPlacementDlg::~CPlacementDlg() {
    // The list asks its model for rows while the window is torn down, after the part table
    // and face list that the model reads are gone.
    controls_->partList->setModel(nullptr);
}

bool CPlacementDlg::LoadColumnMap(const QString& path) {
    std::string message;
    if (kavelto::LoadColumnMap(QFile::encodeName(path).toStdString(), columns_, message) == 0)
        return true;
    showError(message.c_str());
    return false;
}

void CPlacementDlg::setUpPartList() {
    PartListView* list = controls_->partList;
    list->setModel(model_);
    QHeaderView* header = list->horizontalHeader();
    for (int column = 0; column < kPartColumnCount; ++column)
        header->resizeSection(column, kPartColumnHeaders[static_cast<std::size_t>(column)].width);
}

void CPlacementDlg::wireControls() {
    const MainWindowControls& c = *controls_;
    const auto onClick = [this, &c](int id, void (CPlacementDlg::*handler)()) {
        connect(c.button(id), &QPushButton::clicked, this, handler);
    };
    onClick(ControlId::LoadBitmap, &CPlacementDlg::OnLoadBitmap);
    onClick(ControlId::RotL, &CPlacementDlg::OnRotL);
    onClick(ControlId::RotR, &CPlacementDlg::OnRotR);
    onClick(ControlId::Flip, &CPlacementDlg::OnFlip);
    onClick(ControlId::LoadPkpFile, &CPlacementDlg::OnLoadPkpFile);
    onClick(ControlId::Cal1, &CPlacementDlg::OnCal1);
    onClick(ControlId::Cal2, &CPlacementDlg::OnCal2);
    onClick(ControlId::PlaceUnplace, &CPlacementDlg::OnPlaceUnplace);
    onClick(ControlId::ZoomIn, &CPlacementDlg::OnZoomIn);
    onClick(ControlId::ZoomOut, &CPlacementDlg::OnZoomOut);
    onClick(ControlId::PickList, &CPlacementDlg::OnPickList);
    onClick(ControlId::NextUnplaced, &CPlacementDlg::OnNextUnplaced);
    onClick(ControlId::UnplaceAll, &CPlacementDlg::OnUnplaceAll);
    onClick(ControlId::NeedHelp, &CPlacementDlg::OnNeedHelp);
    onClick(ControlId::Shortcuts, &CPlacementDlg::OnShortcuts);
    connect(c.top, &QRadioButton::clicked, this, &CPlacementDlg::OnTop);
    connect(c.bottom, &QRadioButton::clicked, this, &CPlacementDlg::OnBottom);
    connect(c.sortBy, &QComboBox::currentIndexChanged, this, &CPlacementDlg::OnSortChange);
    connect(c.partList, &QAbstractItemView::clicked, this, &CPlacementDlg::LocateSelectedPart);
    connect(c.logo, &ClickableLabel::clicked, this, &CPlacementDlg::OnLogoClick);
}

// ---- fields

void CPlacementDlg::RefreshFields() {
    const MainWindowControls& c = *controls_;
    SetTextIfChanged(c.bitmapText, QString::fromStdString(view_.bitmapPath));
    SetTextIfChanged(c.rotationText,
                     QString::fromStdString(RotationText(view_.viewRotation, view_.mirrored)));
    SetTextIfChanged(c.pkpText, pkpText_);
    SetTextIfChanged(c.calibrationText, QLatin1String(CalStatusText(calibration_.state)));
    c.top->setChecked(face_ == Face::Top);
    c.bottom->setChecked(face_ == Face::Bottom);
    SetTextIfChanged(c.partsPerFaceText, partsPerFaceText_);
    SetTextIfChanged(c.pcbCount, QString::number(pcbCount_));
}

bool CPlacementDlg::ReadFields() {
    QLineEdit* field = controls_->pcbCount;
    const QByteArray text = field->text().left(31).toLatin1();
    std::uint32_t count = 0;
    if (!ParseUnsignedCount(text.constData(), count)) {
        platform_.showMessage(this, QStringLiteral("Please enter a positive integer."),
                              ProgramName(), Platform::Buttons::Ok, Platform::Icon::Exclamation);
        field->setFocus();
        field->selectAll();
        return false;
    }
    pcbCount_ = count;
    return true;
}

// ---- placement file and face list

void CPlacementDlg::OnLoadPkpFile() {
    const std::optional<QString> path = platform_.chooseFileToOpen(
        this, {QStringLiteral("PKP (*.pkp)"), QStringLiteral("TXT (*.txt)"),
               QStringLiteral("CSV (*.csv)"), QStringLiteral("All files (*)")});
    if (path) {
        const PlacementReadResult result =
            ReadPlacementFile(QFile::encodeName(*path).toStdString(), columns_, *table_);
        if (result.error)
            showError(result.error);
        table_->partCount = result.count;
        if (result.count > 0) {
            pkpText_ = QStringLiteral("%1 parts loaded").arg(result.count);
            RebuildFaceList();
        } else {
            pkpText_ = QStringLiteral("no parts found");
            clearFaceList();
        }
    } else {
        pkpText_ = QStringLiteral("no pkp loaded");
        table_->partCount = 0;
        clearFaceList();
    }
    ResetCalibration(calibration_, selection_);
    clearListHighlight();
    RefreshFields();
}

// After a load that found nothing the list, the face list and its count all say so, and
// nothing can step onto parts of the file before.
void CPlacementDlg::clearFaceList() {
    faceList_->faceCount = 0;
    partsPerFaceText_ = QStringLiteral("0 parts/face");
    model_->rebuild();
}

void CPlacementDlg::RebuildFaceList() {
    FilterAndSortFace(*table_, face_, sortMode_, *faceList_);
    partsPerFaceText_ = QStringLiteral("%1 parts/face").arg(faceList_->faceCount);
    model_->rebuild();
    if (faceList_->faceCount > 0)
        moveSelectionTo(0);
    RefreshFields();
}

void CPlacementDlg::OnTop() {
    changeFace(Face::Top);
}

void CPlacementDlg::OnBottom() {
    changeFace(Face::Bottom);
}

void CPlacementDlg::changeFace(Face face) {
    if (face_ == face) {
        RefreshFields();
        return;
    }
    face_ = face;
    RebuildFaceList();
    ResetCalibration(calibration_, selection_);
    clearListHighlight();
    RefreshFields();
}

void CPlacementDlg::OnSortChange() {
    ReadFields();
    const int entry = controls_->sortBy->currentIndex();
    if (entry >= 0 && entry < kSortModeCount)
        sortMode_ = static_cast<SortMode>(entry);
    RebuildFaceList();
}

// ---- board view

void CPlacementDlg::OnLoadBitmap() {
    const std::optional<QString> path = platform_.chooseFileToOpen(
        this, {QStringLiteral("BMP (*.bmp)"), QStringLiteral("JPEG (*.jpg *.jpeg)")});
    view_.bitmapLoaded = path.has_value();
    view_.bitmapPath = path ? path->toStdString() : std::string("no bitmap loaded");
    view_.markerMode = MarkerMode::None;
    ResetCalibration(calibration_, selection_);
    clearListHighlight();
    RefreshFields();
    view_.repaintAll = true;
    update();
}

void CPlacementDlg::OnRotL() {
    turnView(RotatedLeft(view_.viewRotation));
}

void CPlacementDlg::OnRotR() {
    turnView(RotatedRight(view_.viewRotation));
}

void CPlacementDlg::turnView(int viewRotation) {
    view_.viewRotation = viewRotation;
    view_.repaintAll = true;
    update();
    RefreshFields();
}

void CPlacementDlg::OnFlip() {
    view_.mirrored = !view_.mirrored;
    update();
    RefreshFields();
}

void CPlacementDlg::OnZoomIn() {
    view_.zoomBoxSize = ZoomedIn(view_.zoomBoxSize);
    update();
}

void CPlacementDlg::OnZoomOut() {
    view_.zoomBoxSize = ZoomedOut(view_.zoomBoxSize);
    update();
}

void CPlacementDlg::OnCal1() {
    report(RecordCalPoint1(calibration_, selection_, view_.markerX, view_.markerY));
}

void CPlacementDlg::OnCal2() {
    report(RecordCalPoint2(calibration_, selection_, view_.markerX, view_.markerY));
}

void CPlacementDlg::report(const CalOutcome& outcome) {
    if (outcome.message)
        showError(outcome.message);
    if (outcome.refreshFields)
        RefreshFields();
}

void CPlacementDlg::LocateSelectedPart() {
    const std::optional<int> row = highlightedRow();
    if (!row)
        return;
    const PartRecord& part = takeSelection(*row);
    const std::optional<PixelPoint> pixel = LocatePart(calibration_, part.x, part.y);
    if (!pixel)
        return;
    view_.markerX = pixel->x;
    view_.markerY = pixel->y;
    view_.markerMode = MarkerMode::PartLocated;
    repaintBoard();
}

// ---- placing

void CPlacementDlg::OnPlaceUnplace() {
    const std::optional<int> row = highlightedRow();
    if (!row) {
        RefreshFields();
        return;
    }
    PartRecord& part = takeSelection(*row);
    part.placed = part.placed ? 0 : 1;
    model_->placedChanged(*row);
    if (part.placed) {
        OnNextUnplaced();
        const PartRecord& next = partAtRow(selection_.selectedRow);
        if (!IsSameKind(part, next)) {
            const QString item = model_->index(selection_.selectedRow, 1).data().toString();
            platform_.showMessage(
                this,
                QStringLiteral("New part !\n\nItem# %1\n%2, %3")
                    .arg(item, DisplayText(next.value), DisplayText(next.package)),
                QStringLiteral("Placement"), Platform::Buttons::Ok, Platform::Icon::None);
        }
    }
    RefreshFields();
}

void CPlacementDlg::OnNextUnplaced() {
    const std::optional<int> selected = controls_->partList->selectedRow();
    const int row = FindNextUnplaced(*table_, *faceList_, selected ? *selected + 1 : 0);
    if (row != kNoRow)
        moveSelectionTo(row);
    RefreshFields();
}

void CPlacementDlg::OnUnplaceAll() {
    const Platform::Answer answer = platform_.showMessage(
        this, QStringLiteral("Unplace all components on both sides ?"),
        QStringLiteral("Please confirm"), Platform::Buttons::OkCancel, Platform::Icon::Exclamation);
    if (answer != Platform::Answer::Ok)
        return;
    for (int i = 0; i < table_->partCount; ++i)
        table_->parts[static_cast<std::size_t>(i)].placed = 0;
    model_->allPlacedChanged();
    RefreshFields();
}

void CPlacementDlg::moveSelectionTo(int row) {
    PartListView* list = controls_->partList;
    list->setRowSelected(selection_.selectedRow, false);
    takeSelection(row);
    list->setRowSelected(row, true);
    list->ensureRowVisible(row);
    LocateSelectedPart();
}

void CPlacementDlg::act(ShortcutAction action) {
    if (const std::optional<NavigationKey> key = NavigationKeyOf(action)) {
        const int row = NavigationTarget(*key, selection_.selectedRow, faceList_->faceCount);
        if (row != kNoRow)
            moveSelectionTo(row);
        return;
    }
    switch (action) {
    case ShortcutAction::PlaceUnplace:
        OnPlaceUnplace();
        break;
    case ShortcutAction::NextUnplaced:
        OnNextUnplaced();
        break;
    case ShortcutAction::RotateRight:
        OnRotR();
        break;
    case ShortcutAction::ZoomIn:
        OnZoomIn();
        break;
    case ShortcutAction::ZoomOut:
        OnZoomOut();
        break;
    case ShortcutAction::RotateLeft:
        OnRotL();
        break;
    default:
        break;
    }
}

void CPlacementDlg::accept() {
    if (focusWidget() != nullptr) {
        OnPlaceUnplace();
        return;
    }
    if (ReadFields())
        QDialog::accept();
}

// ---- pick list

void CPlacementDlg::OnPickList() {
    ReadFields();
    const std::vector<PickListItem> items = GroupPickList(*table_, *faceList_, pcbCount_);
    platform_.setClipboardText(DisplayLines(PickListText(items, face_)));
    const QString path = GetPickListPath();
    const PageWriteResult written = WritePickListPage(QFile::encodeName(path).toStdString(),
                                                      PickListPage(items, face_, kMakerSite));
    if (written != PageWriteResult::Written) {
        platform_.showMessage(this,
                              written == PageWriteResult::CantCreate
                                  ? QStringLiteral("Can't create html file")
                                  : QStringLiteral("Can't write html file"),
                              QStringLiteral("Error"), Platform::Buttons::Ok, Platform::Icon::None);
        return;
    }
    platform_.openDocument(path);
}

// ---- small windows

void CPlacementDlg::OnLogoClick() {
    const QString text =
        QStringLiteral("Kavelto is free software: use it as you like.\nIt is offered by %1.\n\n"
                       "Do you want to visit the %1 web site?")
            .arg(QLatin1String(kMakerName));
    const Platform::Answer answer =
        platform_.showMessage(this, text, QLatin1String(kMakerName), Platform::Buttons::YesNo,
                              Platform::Icon::Information);
    if (answer == Platform::Answer::Yes)
        platform_.openUrl(QUrl(QStringLiteral("http://%1").arg(QLatin1String(kMakerSite))));
}

void CPlacementDlg::OnShortcuts() {
    CKeymapDlg keymap;
    platform_.runModal(keymap);
}

void CPlacementDlg::OnNeedHelp() {
    const QString manual = QDir::current().absoluteFilePath(QStringLiteral("KaveltoManual.pdf"));
    while (!platform_.openDocument(manual)) {
        const Platform::Answer answer = platform_.showMessage(
            this, QStringLiteral("Can't open KaveltoManual.pdf..."), QStringLiteral("Error"),
            Platform::Buttons::RetryCancel, Platform::Icon::Stop);
        if (answer == Platform::Answer::Cancel)
            return;
    }
}

void CPlacementDlg::OnAbout() {
    CAboutDlg about;
    platform_.runModal(about);
}

// ---- painting and pointer

void CPlacementDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    PaintBoard(painter, view_, pictureFrameRect(), magnifierRect(), pictures_);
}

void CPlacementDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const MainWindowControls& c = *controls_;
    const QRect frame = c.pictureFrame->geometry();
    c.pictureFrame->setGeometry(frame.left(), frame.top(), width() - frame.left() - kMarginToEdge,
                                frame.height());
    const QRect list = c.partList->geometry();
    c.partList->setGeometry(list.left(), list.top(), width() - list.left() - kMarginToEdge,
                            height() - list.top() - kMarginToEdge);
    view_.repaintAll = true;
    update();
}

void CPlacementDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    view_.repaintAll = true;
}

void CPlacementDlg::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const PicturePoint point = WindowToPicture(view_, pictureFrameRect(), at.x(), at.y());
    if (!point.inside)
        return;
    view_.markerMode = MarkerMode::UserPoint;
    view_.dragging = true;
    view_.markerX = TruncToInt(point.x);
    view_.markerY = TruncToInt(point.y);
    repaintBoard();
    clearListHighlight();
}

void CPlacementDlg::mouseMoveEvent(QMouseEvent* event) {
    QDialog::mouseMoveEvent(event);
    if (!view_.dragging)
        return;
    setMarkerFromWindow(event->position().toPoint());
    repaintBoard();
}

void CPlacementDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    if (view_.dragging) {
        view_.markerMode = MarkerMode::UserPoint;
        setMarkerFromWindow(event->position().toPoint());
    }
    view_.dragging = false;
}

void CPlacementDlg::setMarkerFromWindow(const QPoint& at) {
    const PicturePoint point = WindowToPicture(view_, pictureFrameRect(), at.x(), at.y());
    view_.markerX = TruncToInt(point.x);
    view_.markerY = TruncToInt(point.y);
}

void CPlacementDlg::repaintBoard() {
    repaint(QRegion(controls_->pictureFrame->geometry()) +
            QRegion(controls_->magnifierFrame->geometry()));
}

// ---- helpers

void CPlacementDlg::showError(const char* text) {
    platform_.showMessage(this, QString::fromLatin1(text), QStringLiteral("Error"),
                          Platform::Buttons::Ok, Platform::Icon::Stop);
}

void CPlacementDlg::clearListHighlight() {
    controls_->partList->setRowSelected(selection_.selectedRow, false);
}

PixelRect CPlacementDlg::pictureFrameRect() const {
    const QRect r = controls_->pictureFrame->geometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

PixelRect CPlacementDlg::magnifierRect() const {
    const QRect r = controls_->magnifierFrame->geometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

std::optional<int> CPlacementDlg::highlightedRow() const {
    const std::optional<int> row = controls_->partList->selectedRow();
    return row && *row < faceList_->faceCount ? row : std::nullopt;
}

PartRecord& CPlacementDlg::takeSelection(int row) {
    PartRecord& part = partAtRow(row);
    selection_.selectedRow = row;
    selection_.selectedX = part.x;
    selection_.selectedY = part.y;
    return part;
}

PartRecord& CPlacementDlg::partAtRow(int row) {
    return table_
        ->parts[static_cast<std::size_t>(faceList_->indexes[static_cast<std::size_t>(row)])];
}

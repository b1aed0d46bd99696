#include "CPlacementDlg.h"

#include "AppIdentity.h"
#include "BoardView.h"
#include "CAboutDlg.h"
#include "CKeymapDlg.h"
#include "ClickableLabel.h"
#include "DialogUnits.h"
#include "DisplayText.h"
#include "FindField.h"
#include "MagnifierView.h"
#include "MainWindowControls.h"
#include "parts/PartColumns.h"
#include "PartListModel.h"
#include "PartListView.h"
#include "PickList.h"
#include "PickListPage.h"
#include "PickListPath.h"
#include "PickListText.h"
#include "Platform.h"
#include "ProgramIcon.h"
#include "keeping/SessionStore.h"
#include "ShortcutKeys.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QUrl>

namespace kavelto {

namespace {

constexpr int kMarginToEdge = 10;

QString Caption() {
    return QStringLiteral("Kavelto, offered by %1 (%2) - version %3")
        .arg(QLatin1String(kMakerName), QLatin1String(kMakerSite), QLatin1String(kProgramVersion));
}

// The program's name as message boxes show it: the executable's name without extension.
QString ProgramName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void SetTextIfChanged(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}

// The manual of the working directory, then the one installed with the program.
QStringList ManualPaths() {
    const QString name = QStringLiteral("KaveltoManual.pdf");
    const QDir installed(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/" KAVELTO_MANUAL_FROM_PROGRAM));
    return {QDir::current().absoluteFilePath(name),
            QDir::cleanPath(installed.absoluteFilePath(name))};
}

// The first manual that exists is the one to open.
bool OpenManual(Platform& platform) {
    for (const QString& path : ManualPaths()) {
        if (QFileInfo::exists(path))
            return platform.openDocument(path);
    }
    return false;
}

// The units the template is placed in on the screen the window opens on; the window's texts
// take the font that fits them.
DialogUnits FitToScreen(QDialog& window) {
    const TemplateFonts fonts =
        FitTemplateFonts(window.font(), kMainWindowWidth, kMainWindowHeight, *window.screen());
    if (fonts.text != window.font())
        window.setFont(fonts.text);
    return DialogUnits(fonts.layout);
}

} // namespace

CPlacementDlg::CPlacementDlg(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), session_(std::make_unique<AssemblySession>()),
      units_(FitToScreen(*this)),
      controls_(std::make_unique<MainWindowControls>(*this, *session_, units_)),
      model_(new PartListModel(*session_, this)),
      store_(std::make_unique<SessionStore>(SessionStateFolder())) {
    session_->setObserver(model_);
    setWindowTitle(Caption());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(false);
    resize(units_.toPixelsX(kMainWindowWidth), units_.toPixelsY(kMainWindowHeight));

    addActions();
    addCalibrationActions();

    controls_->logo->setPixmap(QPixmap(QStringLiteral(":/kavelto/logo.png")));
    controls_->sortBy->setCurrentIndex(0);
    setUpPartList();
    wireControls();
    new ShortcutKeys(*this, [this](ShortcutAction action) { act(action); });
    RefreshFields();
    controls_->partList->setFocus();
}

CPlacementDlg::~CPlacementDlg() {
    // The list asks its model for rows while the window is torn down, after the session that
    // the model reads is gone.
    session_->setObserver(nullptr);
    controls_->partList->setModel(nullptr);
}

bool CPlacementDlg::LoadColumnMap(const QString& path) {
    std::string message;
    if (session_->loadColumnMap(QFile::encodeName(path).toStdString(), message))
        return true;
    platform_.showUserMessage(this, ErrorMessage(message));
    return false;
}

// The right-click menu: the About box, then what helps beside the assembly itself.
void CPlacementDlg::addActions() {
    auto* about = new QAction(QStringLiteral("&About Kavelto..."), this);
    connect(about, &QAction::triggered, this, &CPlacementDlg::OnAbout);
    addAction(about);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    restoreAction_ = new QAction(this);
    restoreAction_->setVisible(false);
    connect(restoreAction_, &QAction::triggered, this, &CPlacementDlg::OnRestoreSession);
    addAction(restoreAction_);
    auto* find = new QAction(QStringLiteral("Find part..."), this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, &CPlacementDlg::OnFindPart);
    addAction(find);
    auto* spots = new QAction(QStringLiteral("Show all parts of this kind"), this);
    spots->setCheckable(true);
    connect(spots, &QAction::toggled, this, &CPlacementDlg::OnShowKindSpots);
    spots->setChecked(QSettings().value(QStringLiteral("showKindSpots"), false).toBool());
    addAction(spots);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    findField_ = new FindField(this);
    connect(findField_, &FindField::findRequested, this, &CPlacementDlg::findPart);
}

void CPlacementDlg::setUpPartList() {
    PartListView* list = controls_->partList;
    list->setModel(model_);
    QHeaderView* header = list->horizontalHeader();
    for (int column = 0; column < kPartColumnCount; ++column)
        header->resizeSection(column, kPartColumnHeaders[static_cast<std::size_t>(column)].width);
    // The session keeps the list's highlight, which the user also changes in the list itself.
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, list] { session_->setHighlightedRow(list->selectedRow()); });
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
    connect(c.board, &BoardView::pressed, this,
            [this](const PicturePoint& point) { apply(session_->pressOnPicture(point)); });
    connect(c.board, &BoardView::dragged, this,
            [this](const PicturePoint& point) { apply(session_->dragOnPicture(point)); });
    connect(c.board, &BoardView::released, this,
            [this](const PicturePoint& point) { session_->releaseOnPicture(point); });
    connect(c.board, &BoardView::identifyRequested, this, &CPlacementDlg::identifyPart);
}

// ---- fields

void CPlacementDlg::RefreshFields() {
    const MainWindowControls& c = *controls_;
    const ViewState& view = session_->view();
    SetTextIfChanged(c.bitmapText, QFile::decodeName(BitmapText(view.bitmapPath).c_str()));
    SetTextIfChanged(c.rotationText,
                     QString::fromStdString(RotationText(view.viewRotation, view.mirrored)));
    SetTextIfChanged(c.pkpText, QString::fromStdString(session_->pkpText()));
    SetTextIfChanged(c.calibrationText, QString::fromStdString(session_->calibrationText()));
    c.top->setChecked(session_->face() == Face::Top);
    c.bottom->setChecked(session_->face() == Face::Bottom);
    SetTextIfChanged(c.partsPerFaceText, QString::fromStdString(session_->partsPerFaceText()));
    SetTextIfChanged(c.pcbCount, QString::number(session_->pcbCount()));
}

bool CPlacementDlg::ReadFields() {
    QLineEdit* field = controls_->pcbCount;
    if (session_->readPcbCount(field->text().toStdString()))
        return true;
    platform_.showMessage(this, QStringLiteral("Please enter a positive integer."), ProgramName(),
                          Platform::Buttons::Ok, Platform::Icon::Exclamation);
    field->setFocus();
    field->selectAll();
    return false;
}

// ---- showing what the session says

void CPlacementDlg::apply(const SessionUpdate& update) {
    showHighlight();
    if (update.reveal != kNoRow)
        controls_->partList->ensureRowVisible(update.reveal);
    repaintBoard(update.repaint);
    if (update.message)
        platform_.showUserMessage(this, *update.message);
    if (update.refreshFields)
        RefreshFields();
    keepSession();
}

void CPlacementDlg::keepSession() {
    store_->keep(session_->keptState());
    const std::optional<KeptSession>& offered = store_->offered();
    restoreAction_->setVisible(offered.has_value());
    if (offered)
        restoreAction_->setText(QString::fromStdString(RestoreCaption(*offered)));
}

void CPlacementDlg::showHighlight() {
    PartListView* list = controls_->partList;
    const std::optional<int> row = session_->highlightedRow();
    if (list->selectedRow() == row)
        return;
    if (row)
        list->setRowSelected(*row, true);
    else
        list->clearSelection();
}

void CPlacementDlg::repaintBoard(Repaint repaint) {
    const MainWindowControls& c = *controls_;
    if (repaint == Repaint::Now) {
        // One synchronous pass paints both, with whatever else is due.
        c.magnifier->update();
        c.board->repaint();
    } else if (repaint == Repaint::Soon) {
        c.board->update();
        c.magnifier->update();
    }
}

std::optional<std::string> CPlacementDlg::chooseFile(const QStringList& filters) {
    const std::optional<QString> path = platform_.chooseFileToOpen(this, filters);
    if (!path)
        return std::nullopt;
    return QFile::encodeName(*path).toStdString();
}

// ---- placement file and face list

// Loading starts afresh; the session kept for the file is offered for restoring.
void CPlacementDlg::OnLoadPkpFile() {
    const std::optional<std::string> path =
        chooseFile({QStringLiteral("Placement files (*.pkp *.txt *.csv *.pos *.mnt *.mnb)"),
                    QStringLiteral("PKP (*.pkp)"), QStringLiteral("TXT (*.txt)"),
                    QStringLiteral("All files (*)")});
    const SessionUpdate update = session_->loadPlacementFile(path);
    if (path && session_->table().partCount > 0)
        store_->openFile(*path);
    else
        store_->closeFile();
    apply(update);
}

void CPlacementDlg::OnTop() {
    apply(session_->changeFace(Face::Top));
}

void CPlacementDlg::OnBottom() {
    apply(session_->changeFace(Face::Bottom));
}

void CPlacementDlg::OnSortChange() {
    ReadFields();
    apply(session_->changeSort(controls_->sortBy->currentIndex()));
}

// ---- board view

void CPlacementDlg::OnLoadBitmap() {
    const SessionUpdate update = session_->loadBitmap(
        chooseFile({QStringLiteral("Pictures (*.bmp *.jpg *.jpeg *.png)"),
                    QStringLiteral("BMP (*.bmp)"), QStringLiteral("JPEG (*.jpg *.jpeg)")}));
    controls_->board->openPicture();
    apply(update);
}

void CPlacementDlg::OnRotL() {
    apply(session_->rotateLeft());
}

void CPlacementDlg::OnRotR() {
    apply(session_->rotateRight());
}

void CPlacementDlg::OnFlip() {
    apply(session_->flip());
}

void CPlacementDlg::OnZoomIn() {
    apply(session_->zoomIn());
}

void CPlacementDlg::OnZoomOut() {
    apply(session_->zoomOut());
}

void CPlacementDlg::OnCal1() {
    apply(session_->cal1());
}

void CPlacementDlg::OnCal2() {
    apply(session_->cal2());
}

void CPlacementDlg::OnAddCalPoint() {
    apply(session_->addCalPoint());
}

void CPlacementDlg::OnRemoveLastCalPoint() {
    apply(session_->removeLastCalPoint());
}

// The menu names the key that adds a point as well.
void CPlacementDlg::addCalibrationActions() {
    auto* add = new QAction(QStringLiteral("Add calibration point\tIns"), this);
    add->setObjectName(QStringLiteral("addCalPoint"));
    connect(add, &QAction::triggered, this, &CPlacementDlg::OnAddCalPoint);
    addAction(add);
    auto* remove = new QAction(QStringLiteral("Remove last calibration point"), this);
    remove->setObjectName(QStringLiteral("removeLastCalPoint"));
    connect(remove, &QAction::triggered, this, &CPlacementDlg::OnRemoveLastCalPoint);
    addAction(remove);
}

void CPlacementDlg::LocateSelectedPart() {
    apply(session_->LocateSelectedPart());
}

// ---- placing

void CPlacementDlg::OnPlaceUnplace() {
    apply(session_->placeUnplace());
}

void CPlacementDlg::OnNextUnplaced() {
    apply(session_->nextUnplaced());
}

void CPlacementDlg::OnUnplaceAll() {
    if (platform_.showUserMessage(this, AssemblySession::unplaceAllQuestion()) !=
        Platform::Answer::Ok)
        return;
    store_->startAfresh();
    apply(session_->unplaceAll());
}

void CPlacementDlg::act(ShortcutAction action) {
    if (const std::optional<NavigationKey> key = NavigationKeyOf(action)) {
        apply(session_->navigate(*key));
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
    case ShortcutAction::AddCalPoint:
        OnAddCalPoint();
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
    const AssemblySession& s = *session_;
    const std::vector<PickListItem> items = GroupPickList(s.table(), s.faceList(), s.pcbCount());
    platform_.setClipboardText(DisplayLines(PickListText(items, s.face())));
    const std::string path = GetPickListPath();
    const PageWriteResult written =
        WritePickListPage(path, PickListPage(items, s.face(), kMakerSite));
    if (const std::optional<UserMessage> failure = PageWriteFailure(written)) {
        platform_.showUserMessage(this, *failure);
        return;
    }
    platform_.openDocument(QFile::decodeName(path.c_str()));
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
    CKeymapDlg keymap(this);
    platform_.runModal(keymap);
}

// Retry serves once the user has put a manual in place.
void CPlacementDlg::OnNeedHelp() {
    while (!OpenManual(platform_)) {
        const Platform::Answer answer = platform_.showMessage(
            this, QStringLiteral("Can't open KaveltoManual.pdf..."), QStringLiteral("Error"),
            Platform::Buttons::RetryCancel, Platform::Icon::Stop);
        if (answer == Platform::Answer::Cancel)
            return;
    }
}

void CPlacementDlg::OnAbout() {
    CAboutDlg about(this);
    platform_.runModal(about);
}

// ---- additions of the right-click menu

void CPlacementDlg::OnRestoreSession() {
    const std::optional<KeptSession> kept = store_->offered();
    if (!kept)
        return;
    store_->startAfresh();
    const SessionUpdate update = session_->restore(*kept);
    controls_->board->openPicture();
    apply(update);
}

void CPlacementDlg::OnShowKindSpots(bool show) {
    QSettings().setValue(QStringLiteral("showKindSpots"), show);
    controls_->board->setShowKindSpots(show);
}

void CPlacementDlg::OnFindPart() {
    QStringList designators;
    for (const std::string& designator : session_->designators())
        designators << DisplayText(designator);
    const QRect list = controls_->partList->geometry();
    findField_->open(mapToGlobal(list.topRight() - QPoint(findField_->width(), 0)), designators);
}

void CPlacementDlg::findPart(const QString& text) {
    const std::optional<SessionUpdate> update = session_->findPart(text.toStdString());
    if (!update) {
        findField_->showNotFound();
        return;
    }
    findField_->hide();
    apply(*update);
}

void CPlacementDlg::identifyPart(const PicturePoint& point) {
    apply(session_->identifyPartAt(point));
}

// ---- size

// The picture frame grows in width only; the list in width and height.
void CPlacementDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const MainWindowControls& c = *controls_;
    const QRect frame = c.board->geometry();
    c.board->setGeometry(frame.left(), frame.top(), width() - frame.left() - kMarginToEdge,
                         frame.height());
    const QRect list = c.partList->geometry();
    c.partList->setGeometry(list.left(), list.top(), width() - list.left() - kMarginToEdge,
                            height() - list.top() - kMarginToEdge);
    session_->setFrameSize(c.board->width(), c.board->height());
    repaintBoard(Repaint::Soon);
}

void CPlacementDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    session_->setFrameSize(controls_->board->width(), controls_->board->height());
}

} // namespace kavelto

#include "CPlacementDlg.h"

#include "BoardView.h"
#include "CAboutDlg.h"
#include "CKeymapDlg.h"
#include "ClickableLabel.h"
#include "CommandMenu.h"
#include "DesktopSetup.h"
#include "DisplayText.h"
#include "FileChooser.h"
#include "FindField.h"
#include "KittingSheets.h"
#include "MagnifierView.h"
#include "MainWindowControls.h"
#include "PartListColumns.h"
#include "PartListModel.h"
#include "PartListView.h"
#include "Platform.h"
#include "ProgramIcon.h"
#include "ShortcutKeys.h"
#include "app/AppMessages.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QUrl>

namespace kavelto {

namespace {

void SetTextIfChanged(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

CPlacementDlg::CPlacementDlg(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), workbench_(std::make_unique<Workbench>(DesktopSetup())),
      units_(FitToScreen(*this, kMainWindowWidth, kMainWindowHeight)),
      controls_(std::make_unique<MainWindowControls>(*this, workbench_->session(), units_)),
      model_(new PartListModel(workbench_->session(), this)), findField_(new FindField(this)),
      menu_(new CommandMenu(*this, *workbench_, [this](CommandId id) { run(id); })) {
    workbench_->session().setObserver(model_);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(false);
    resize(units_.toPixelsX(kMainWindowWidth), units_.toPixelsY(kMainWindowHeight));
    controls_->logo->setPixmap(QPixmap(QStringLiteral(":/kavelto/logo.png")));
    controls_->sortBy->setCurrentIndex(0);
    setUpPartList();
    setMinimumSize(controls_->minimumWindowSize());
    wireControls();
    new ShortcutKeys(*this, [this](CommandId id) { run(id); });
    menu_->restoreSettings();
    menu_->refresh();
    RefreshFields();
    controls_->partList->setFocus();
}

CPlacementDlg::~CPlacementDlg() {
    // The list asks its model for rows while the window is torn down, after the session that
    // the model reads is gone.
    workbench_->session().setObserver(nullptr);
    controls_->partList->setModel(nullptr);
}

bool CPlacementDlg::LoadColumnMap(const QString& path) {
    const Result<void> loaded = workbench_->loadColumnMap(LocalPath(path));
    if (!loaded)
        platform_.showUserMessage(this, loaded.failure());
    return loaded.ok();
}

void CPlacementDlg::setUpPartList() {
    PartListView* list = controls_->partList;
    list->showParts(model_);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, list] { workbench_->setHighlightedRow(list->selectedRow()); });
}

void CPlacementDlg::wireControls() {
    controls_->runCommandsWith(*this, [this](CommandId id) { run(id); });
    BoardView* board = controls_->board;
    connect(board, &BoardView::pressed, this,
            [this](const PicturePoint& point) { render(workbench_->press(point)); });
    connect(board, &BoardView::dragged, this,
            [this](const PicturePoint& point) { render(workbench_->drag(point)); });
    connect(board, &BoardView::released, this,
            [this](const PicturePoint& point) { workbench_->release(point); });
    connect(board, &BoardView::zoomRequested, this,
            [this](int x, int y, int steps) { render(workbench_->zoomOverview(x, y, steps)); });
    connect(board, &BoardView::panRequested, this,
            [this](int dx, int dy) { render(workbench_->panOverview(dx, dy)); });
    connect(board, &BoardView::identifyRequested, this,
            [this](const PicturePoint& point) { run(CommandId::IdentifyPart, point); });
    connect(board, &BoardView::cantShow, this,
            [this](const UserMessage& message) { platform_.showUserMessage(this, message); });
    connect(findField_, &FindField::findRequested, this, &CPlacementDlg::findPart);
}

// ---- fields

void CPlacementDlg::RefreshFields() {
    const MainWindowControls& c = *controls_;
    const AssemblySession& session = workbench_->session();
    const ViewState& view = session.view();
    SetTextIfChanged(c.bitmapText, QFile::decodeName(BitmapText(view.bitmapPath).c_str()));
    SetTextIfChanged(c.rotationText,
                     QString::fromStdString(RotationText(view.viewRotation, view.mirrored)));
    SetTextIfChanged(c.pkpText, QString::fromStdString(session.pkpText()));
    SetTextIfChanged(c.calibrationText, QString::fromStdString(session.calibrationText()));
    c.top->setChecked(session.face() == Face::Top);
    c.bottom->setChecked(session.face() == Face::Bottom);
    SetTextIfChanged(c.partsPerFaceText, QString::fromStdString(session.partsPerFaceText()));
    SetTextIfChanged(c.pcbCount, QString::number(session.pcbCount()));
    setWindowTitle(QString::fromStdString(workbench_->windowTitle()));
}

CommandInputs CPlacementDlg::ReadFields() const {
    CommandInputs inputs;
    inputs.pcbCountText = controls_->pcbCount->text().toStdString();
    inputs.sortEntry = controls_->sortBy->currentIndex();
    inputs.controlHasFocus = focusWidget() != nullptr;
    return inputs;
}

// ---- running commands and rendering what they return

void CPlacementDlg::run(CommandId id, const PicturePoint& point) {
    CommandInputs inputs = ReadFields();
    inputs.point = point;
    const FileChoice asks = Command(id).asks;
    if (asks != FileChoice::None)
        inputs.chosenFile = ChooseFile(platform_, this, asks);
    render(workbench_->run(id, inputs));
}

void CPlacementDlg::loadFile(CommandId id, const std::string& path) {
    CommandInputs inputs = ReadFields();
    inputs.chosenFile = path;
    render(workbench_->run(id, inputs));
}

void CPlacementDlg::render(const Outcome& outcome) {
    if (outcome.pictureChanged)
        controls_->board->openPicture();
    showHighlight();
    if (outcome.update.reveal)
        controls_->partList->ensureRowVisible(*outcome.update.reveal);
    controls_->board->showOutlines(workbench_->outlinesToDraw());
    controls_->repaintViews(outcome.update.repaint);
    if (outcome.banner)
        controls_->board->showBanner(QString::fromStdString(*outcome.banner));
    for (const UserMessage& message : outcome.messages)
        platform_.showUserMessage(this, message);
    if (outcome.focusPcbCount)
        focusPcbCount();
    if (outcome.clipboardText)
        platform_.setClipboardText(DisplayLines(*outcome.clipboardText));
    if (outcome.sheets && !KittingSheets::Write(*outcome.sheets))
        platform_.showUserMessage(this, SheetsNotWritten());
    else if (outcome.open)
        openRequested(*outcome.open);
    runSmallWindow(outcome.window);
    if (outcome.openFindField)
        openFindField();
    if (outcome.update.refreshFields)
        RefreshFields();
    menu_->refresh();
    controls_->board->setShowKindSpots(workbench_->showKindSpots());
    if (outcome.prompt)
        ask(*outcome.prompt);
    if (outcome.choice)
        choose(*outcome.choice);
    if (outcome.tableEdit)
        editTable(*outcome.tableEdit);
    if (outcome.closeWindow)
        QDialog::accept();
}

void CPlacementDlg::showHighlight() {
    PartListView* list = controls_->partList;
    const std::optional<int> row = workbench_->session().highlightedRow();
    if (list->selectedRow() == row)
        return;
    if (row)
        list->setRowSelected(*row, true);
    else
        list->clearSelection();
}

void CPlacementDlg::ask(const Prompt& prompt) {
    const Platform::Answer given = platform_.showUserMessage(this, prompt.message);
    render(workbench_->answer(prompt, given, ReadFields()));
}

void CPlacementDlg::choose(const Choice& choice) {
    QStringList entries;
    for (const std::string& entry : choice.entries)
        entries << QString::fromStdString(entry);
    CommandInputs inputs = ReadFields();
    inputs.chosenEntry = platform_.chooseEntry(this, QString::fromStdString(choice.title), entries);
    if (inputs.chosenEntry)
        render(workbench_->run(choice.next, inputs));
}

void CPlacementDlg::editTable(const TableEdit& edit) {
    CommandInputs inputs = ReadFields();
    inputs.editedTable = platform_.editTable(this, edit);
    if (inputs.editedTable)
        render(workbench_->run(edit.next, inputs));
}

void CPlacementDlg::openRequested(const OpenRequest& request) {
    const QString target = QFile::decodeName(request.target.c_str());
    const bool opened =
        request.isUrl ? platform_.openUrl(QUrl(target)) : platform_.openDocument(target);
    if (!opened && request.onFailure)
        ask(*request.onFailure);
    else if (!opened && request.tellOnFailure)
        platform_.showUserMessage(this, *request.tellOnFailure);
}

void CPlacementDlg::runSmallWindow(SmallWindow window) {
    if (window == SmallWindow::About) {
        CAboutDlg about(this);
        platform_.runModal(about);
    } else if (window == SmallWindow::Keymap) {
        CKeymapDlg keymap(this);
        platform_.runModal(keymap);
    }
}

void CPlacementDlg::openFindField() {
    QStringList designators;
    for (const std::string& designator : workbench_->designators())
        designators << DisplayText(designator);
    const QRect list = controls_->partList->geometry();
    findField_->open(mapToGlobal(list.topRight() - QPoint(findField_->width(), 0)), designators);
}

void CPlacementDlg::findPart(const QString& text) {
    const Outcome outcome = workbench_->findPart(text.toStdString());
    if (outcome.findFailed) {
        findField_->showNotFound();
        return;
    }
    findField_->hide();
    render(outcome);
}

void CPlacementDlg::focusPcbCount() {
    QLineEdit* field = controls_->pcbCount;
    field->setFocus();
    field->selectAll();
}

void CPlacementDlg::accept() {
    run(CommandId::Ok);
}

// ---- size

void CPlacementDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    controls_->stretchTo(size());
    workbench_->session().setFrameSize(controls_->board->width(), controls_->board->height());
    controls_->repaintViews(Repaint::Soon);
}

void CPlacementDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    workbench_->session().setFrameSize(controls_->board->width(), controls_->board->height());
}

} // namespace kavelto

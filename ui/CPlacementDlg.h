#pragma once

#include "session/AssemblySession.h"
#include "DialogUnits.h"

#include <QDialog>

#include <memory>

namespace kavelto {

class FindField;
class MainWindowControls;
class PartListModel;
class Platform;
class SessionStore;
enum class ShortcutAction;

// The main window. Its handlers read the controls, hand the event to the assembly session,
// show what the session says the user must be told, refresh the fields and repaint.
class CPlacementDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPlacementDlg(Platform& platform, QWidget* parent = nullptr);
    ~CPlacementDlg() override;

    // Reads the column configuration; on failure shows why and returns false.
    bool LoadColumnMap(const QString& path);

    // Confirming the window places or unplaces the selected part while any control has the
    // focus; only without focus does it close the window, after a successful read of fields.
    void accept() override;

    const AssemblySession& session() const { return *session_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void wireControls();
    void setUpPartList();

    void RefreshFields();
    bool ReadFields();

    void OnLoadPkpFile();
    void OnTop();
    void OnBottom();
    void OnSortChange();
    void OnLoadBitmap();
    void OnRotL();
    void OnRotR();
    void OnFlip();
    void OnZoomIn();
    void OnZoomOut();
    void OnCal1();
    void OnCal2();
    void OnAddCalPoint();
    void OnRemoveLastCalPoint();
    void addCalibrationActions();
    void LocateSelectedPart();
    void OnPlaceUnplace();
    void OnNextUnplaced();
    void OnUnplaceAll();
    void OnPickList();
    void OnLogoClick();
    void OnShortcuts();
    void OnNeedHelp();
    void OnAbout();
    void OnRestoreSession();
    void OnShowKindSpots(bool show);
    void OnFindPart();
    void findPart(const QString& text);
    void identifyPart(const PicturePoint& point);
    void act(ShortcutAction action);
    void addActions();

    // Shows the outcome of a session operation.
    void apply(const SessionUpdate& update);
    void showHighlight();
    // Writes what a crash must not lose, and offers the kept session there is to restore.
    void keepSession();
    void repaintBoard(Repaint repaint);
    std::optional<std::string> chooseFile(const QStringList& filters);

    Platform& platform_;
    std::unique_ptr<AssemblySession> session_;
    const DialogUnits units_;
    std::unique_ptr<MainWindowControls> controls_;
    PartListModel* model_;
    std::unique_ptr<SessionStore> store_;
    QAction* restoreAction_ = nullptr;
    FindField* findField_ = nullptr;
};

} // namespace kavelto

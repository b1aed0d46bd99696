#pragma once

#include "DialogUnits.h"
#include "app/CommandTable.h"
#include "app/Workbench.h"

#include <QDialog>

#include <memory>

namespace kavelto {

class CommandMenu;
class FindField;
class MainWindowControls;
class PartListModel;
class Platform;

// The main window: it reads its controls, runs the workbench's commands and renders what they
// return through the platform. Its buttons, keys and right-click menu are made from the
// command table.
class CPlacementDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPlacementDlg(Platform& platform, QWidget* parent = nullptr);
    ~CPlacementDlg() override;

    // Reads the column configuration; on failure shows why and returns false.
    bool LoadColumnMap(const QString& path);

    // Loads a file named at start-up, as if the command's file chooser had given it.
    void loadFile(CommandId id, const std::string& path);

    // The window's OK command: it places while a control has the focus, else closes.
    void accept() override;

    const AssemblySession& session() const { return workbench_->session(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void wireControls();
    void setUpPartList();

    void RefreshFields();
    CommandInputs ReadFields() const;

    void run(CommandId id, const PicturePoint& point = {});
    void render(const Outcome& outcome);
    void showHighlight();
    void ask(const Prompt& prompt);
    void choose(const Choice& choice);
    void editTable(const TableEdit& edit);
    void openRequested(const OpenRequest& request);
    void runSmallWindow(SmallWindow window);
    void openFindField();
    void findPart(const QString& text);
    void focusPcbCount();

    Platform& platform_;
    std::unique_ptr<Workbench> workbench_;
    const DialogUnits units_;
    std::unique_ptr<MainWindowControls> controls_;
    PartListModel* model_;
    FindField* findField_;
    CommandMenu* menu_;
};

} // namespace kavelto

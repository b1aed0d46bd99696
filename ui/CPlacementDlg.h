#pragma once

#include "Calibration.h"
#include "ColumnMap.h"
#include "Face.h"
#include "FaceList.h"
#include "PartSelection.h"
#include "PartTable.h"
#include "PictureCache.h"
#include "SortMode.h"
#include "ViewState.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>

class MainWindowControls;
class PartListModel;
class Platform;
enum class ShortcutAction;

// The main window. Its handlers call the core, write the fields back to the controls and
// repaint; the board view is painted on the window itself, under its two frames.
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

    const kavelto::PartTable& partTable() const { return *table_; }
    const kavelto::FaceList& faceList() const { return *faceList_; }
    const kavelto::PartSelection& selection() const { return selection_; }
    const kavelto::ViewState& view() const { return view_; }
    const kavelto::Calibration& calibration() const { return calibration_; }
    std::uint32_t pcbCount() const { return pcbCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void wireControls();
    void setUpPartList();

    void RefreshFields();
    bool ReadFields();

    void OnLoadPkpFile();
    void OnTop();
    void OnBottom();
    void OnSortChange();
    void RebuildFaceList();
    void clearFaceList();
    void changeFace(kavelto::Face face);

    void OnLoadBitmap();
    void OnRotL();
    void OnRotR();
    void turnView(int viewRotation);
    void OnFlip();
    void OnZoomIn();
    void OnZoomOut();
    void OnCal1();
    void OnCal2();
    void report(const kavelto::CalOutcome& outcome);
    void LocateSelectedPart();

    void OnPlaceUnplace();
    void OnNextUnplaced();
    void OnUnplaceAll();
    void OnPickList();
    void moveSelectionTo(int row);
    void act(ShortcutAction action);

    void OnLogoClick();
    void OnShortcuts();
    void OnNeedHelp();
    void OnAbout();

    void showError(const char* text);
    void clearListHighlight();
    void repaintBoard();
    void setMarkerFromWindow(const QPoint& point);
    kavelto::PixelRect pictureFrameRect() const;
    kavelto::PixelRect magnifierRect() const;
    // The list's highlighted row, when it names a part of the face list.
    std::optional<int> highlightedRow() const;
    // Makes row the selected one and copies its part's board position; returns the part.
    kavelto::PartRecord& takeSelection(int row);
    kavelto::PartRecord& partAtRow(int row);

    Platform& platform_;
    std::unique_ptr<kavelto::PartTable> table_;
    std::unique_ptr<kavelto::FaceList> faceList_;
    kavelto::PartSelection selection_;
    kavelto::ColumnMap columns_;
    kavelto::ViewState view_;
    kavelto::Calibration calibration_;
    kavelto::SortMode sortMode_ = kavelto::SortMode::PackagePrefixValuePartId;
    kavelto::Face face_ = kavelto::Face::Top;
    QString pkpText_;
    QString partsPerFaceText_;
    std::uint32_t pcbCount_ = 0;

    std::unique_ptr<MainWindowControls> controls_;
    PartListModel* model_;
    PictureCache pictures_;
};

#pragma once

#include "MainWindowTemplate.h"
#include "app/CommandId.h"
#include "session/SessionUpdate.h"

#include <QMap>

#include <functional>

class QComboBox;
class QObject;
class QSize;
class QDialog;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kavelto {

class AssemblySession;
class BoardView;
class ClickableLabel;
class DialogUnits;
class MagnifierView;
class PartListView;

// The main window's controls, created from its template and placed in dialog units. The
// board view and the magnifier draw the session's view.
class MainWindowControls {
public:
    MainWindowControls(QDialog& window, AssemblySession& session, const DialogUnits& units);

    QWidget* byId(int id) const { return byId_.value(id); }

    // Each button, list, drop-down and clickable picture runs the command of its identifier.
    void runCommandsWith(QObject& receiver, const std::function<void(CommandId)>& run) const;

    // The picture frame grows in width only; the list in width and height.
    void stretchTo(const QSize& window);
    // The smallest window that still shows the part list's header with five rows, and the
    // controls beside a quarter of the picture frame's width.
    QSize minimumWindowSize() const;
    // Draws the board view and the magnifier again, now, soon or not at all.
    void repaintViews(Repaint repaint) const;

    PartListView* partList;
    QComboBox* sortBy;
    QLineEdit* bitmapText;
    QLineEdit* rotationText;
    QLineEdit* pkpText;
    QLineEdit* calibrationText;
    QLineEdit* partsPerFaceText;
    QLineEdit* pcbCount;
    QRadioButton* top;
    QRadioButton* bottom;
    BoardView* board;
    MagnifierView* magnifier;
    ClickableLabel* logo;

private:
    QWidget* create(const ControlTemplate& control, QDialog& window, AssemblySession& session);
    // The control of that identifier, which the template makes of kind T.
    template <typename T> T* control(int id) const;

    QMap<int, QWidget*> byId_;
};

} // namespace kavelto

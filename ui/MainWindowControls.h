#pragma once

#include "MainWindowTemplate.h"

#include <QMap>

class ClickableLabel;
class PartListView;
class QComboBox;
class QDialog;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// The main window's controls, created from its template and placed in dialog units.
class MainWindowControls {
public:
    explicit MainWindowControls(QDialog& window);

    QWidget* byId(int id) const { return byId_.value(id); }
    QPushButton* button(int id) const;

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
    QFrame* pictureFrame;
    QFrame* magnifierFrame;
    ClickableLabel* logo;

private:
    QWidget* create(const ControlTemplate& control, QDialog& window);

    QMap<int, QWidget*> byId_;
};

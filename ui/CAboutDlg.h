#pragma once

#include <QDialog>

namespace kavelto {

class DialogUnits;

// The About box of the system menu: the program's name and version and who offers it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

private:
    void addIcon(const DialogUnits& units);
    void addText(const DialogUnits& units, const char* objectName, const QString& text, int y);
    void addOkButton(const DialogUnits& units);
};

} // namespace kavelto

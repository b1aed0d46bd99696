#include "CAboutDlg.h"

#include "DialogUnits.h"
#include "ProgramIcon.h"

#include <QLabel>
#include <QPushButton>

namespace kavelto {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Kavelto"));
    const DialogUnits units(font());
    setFixedSize(units.toPixels(0, 0, 235, 55).size());
    addIcon(units);
    addText(units, "aboutText", QStringLiteral("Kavelto Version 1.0"), 10);
    addText(units, "aboutNotice", QStringLiteral("Free software by QUANDEL"), 25);
    addOkButton(units);
}

void CAboutDlg::addIcon(const DialogUnits& units) {
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setGeometry(units.toPixels(11, 17, 20, 20));
    // Shown at its own size, never stretched, as long as the place allows.
    icon->setPixmap(ProgramIcon().pixmap(icon->size()));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CAboutDlg::addText(const DialogUnits& units, const char* objectName, const QString& text,
                        int y) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(units.toPixels(40, y, 119, 8));
}

void CAboutDlg::addOkButton(const DialogUnits& units) {
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(units.toPixels(178, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace kavelto

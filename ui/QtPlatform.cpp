#include "QtPlatform.h"

#include "TableDialog.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace kavelto {

namespace {

QMessageBox::StandardButtons ToQt(Platform::Buttons buttons) {
    switch (buttons) {
    case Platform::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Platform::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Platform::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Platform::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon ToQt(Platform::Icon icon) {
    switch (icon) {
    case Platform::Icon::Stop:
        return QMessageBox::Critical;
    case Platform::Icon::Exclamation:
        return QMessageBox::Warning;
    case Platform::Icon::Information:
        return QMessageBox::Information;
    case Platform::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

Platform::Answer FromQt(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return Platform::Answer::Cancel;
    case QMessageBox::Yes:
        return Platform::Answer::Yes;
    case QMessageBox::No:
        return Platform::Answer::No;
    case QMessageBox::Retry:
        return Platform::Answer::Retry;
    default:
        return Platform::Answer::Ok;
    }
}

} // namespace

Platform::Answer QtPlatform::showMessage(QWidget* owner, const QString& text,
                                         const QString& caption, Buttons buttons, Icon icon) {
    QMessageBox box(ToQt(icon), caption, text, ToQt(buttons), owner);
    return FromQt(box.exec());
}

std::optional<int> QtPlatform::chooseEntry(QWidget* owner, const QString& title,
                                           const QStringList& entries) {
    bool chosen = false;
    const QString entry = QInputDialog::getItem(owner, title, title, entries, 0, false, &chosen);
    if (!chosen)
        return std::nullopt;
    return int(entries.indexOf(entry));
}

std::optional<QString> QtPlatform::chooseFileToOpen(QWidget* owner, const QStringList& filters) {
    QFileDialog dialog(owner);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath();
}

std::optional<QString> QtPlatform::chooseFileToSave(QWidget* owner, const QStringList& filters) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath();
}

std::optional<TableCells> QtPlatform::editTable(QWidget* owner, const TableEdit& edit) {
    TableDialog dialog(edit, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.cells();
}

void QtPlatform::runModal(QDialog& dialog) {
    dialog.exec();
}

void QtPlatform::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

bool QtPlatform::openDocument(const QString& path) {
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtPlatform::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace kavelto

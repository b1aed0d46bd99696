#pragma once

#include "Platform.h"

namespace kavelto {

// The desktop itself, through Qt.
class QtPlatform final : public Platform {
public:
    Answer showMessage(QWidget* owner, const QString& text, const QString& caption, Buttons buttons,
                       Icon icon) override;
    std::optional<QString> chooseFileToOpen(QWidget* owner, const QStringList& filters) override;
    std::optional<int> chooseEntry(QWidget* owner, const QString& title,
                                   const QStringList& entries) override;
    std::optional<QString> chooseFileToSave(QWidget* owner, const QStringList& filters) override;
    std::optional<TableCells> editTable(QWidget* owner, const TableEdit& edit) override;
    void runModal(QDialog& dialog) override;
    void setClipboardText(const QString& text) override;
    bool openDocument(const QString& path) override;
    bool openUrl(const QUrl& url) override;
};

} // namespace kavelto

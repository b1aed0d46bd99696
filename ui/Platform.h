#pragma once

#include "app/Outcome.h"
#include "base/UserMessage.h"

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QUrl;
class QWidget;

namespace kavelto {

// Everything the windows ask of the desktop that would block a test or leave the process:
// message boxes, file choosers, modal windows, the clipboard and the desktop's "open" action.
class Platform {
public:
    using Buttons = MessageButtons;
    using Icon = MessageIcon;
    using Answer = MessageAnswer;

    virtual ~Platform() = default;

    virtual Answer showMessage(QWidget* owner, const QString& text, const QString& caption,
                               Buttons buttons, Icon icon) = 0;

    Answer showUserMessage(QWidget* owner, const UserMessage& message) {
        return showMessage(owner, QString::fromStdString(message.text),
                           QString::fromStdString(message.caption), message.buttons, message.icon);
    }

    // Lets the user choose an existing file; filters are "Name (*.ext)" entries, the first
    // preselected. Returns the full path, or nothing when the user cancels.
    virtual std::optional<QString> chooseFileToOpen(QWidget* owner, const QStringList& filters) = 0;
    // Lets the user name a file to write, asking before one is replaced.
    virtual std::optional<QString> chooseFileToSave(QWidget* owner, const QStringList& filters) = 0;

    // Lets the user choose one of the entries, listed under the title; its index, or nothing
    // when the user cancels.
    virtual std::optional<int> chooseEntry(QWidget* owner, const QString& title,
                                           const QStringList& entries) = 0;

    // Lets the user edit a small table; the cells as left, or nothing when the user cancels.
    virtual std::optional<TableCells> editTable(QWidget* owner, const TableEdit& edit) = 0;

    virtual void runModal(QDialog& dialog) = 0;

    virtual void setClipboardText(const QString& text) = 0;

    // Hands a local document or a web address to the desktop; false when nothing opened it.
    virtual bool openDocument(const QString& path) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace kavelto

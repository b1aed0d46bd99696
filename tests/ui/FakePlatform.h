#pragma once

#include "Platform.h"

#include <QDialog>
#include <QUrl>

#include <functional>

// A scripted desktop: records every box, chooser, modal window, clipboard text and opened
// document or web address, and answers as the test told it to.
class FakePlatform final : public kavelto::Platform {
public:
    struct Message {
        QString text, caption;
    };

    // Answers for the next boxes, in order; an empty queue answers Ok.
    QList<Answer> answers;
    // Paths for the next file choosers, in order; an empty queue cancels.
    QStringList files;
    // Entries for the next lists to choose from, in order; an empty queue cancels.
    QList<int> entries;
    // The lists offered, each its title and entries joined by "|".
    QStringList choices;
    // The tables the user leaves, one for each table offered, in turn; nothing cancels.
    QList<kavelto::TableCells> tables;
    // The tables offered, as offered.
    QList<kavelto::TableEdit> tableEdits;
    // Called with each modal window instead of running it.
    std::function<void(QDialog&)> onModal;
    // Called with each box as it is shown.
    std::function<void(const Message&)> onMessage;
    // Whether opening a document or a web address succeeds.
    bool documentsOpen = true;

    QList<Message> messages;
    QStringList modalTitles, clipboardTexts, openedDocuments;

    Answer showMessage(QWidget*, const QString& text, const QString& caption, Buttons,
                       Icon) override {
        messages.push_back({text, caption});
        if (onMessage)
            onMessage(messages.back());
        return answers.empty() ? Answer::Ok : answers.takeFirst();
    }

    std::optional<QString> chooseFileToOpen(QWidget*, const QStringList&) override {
        return files.empty() ? std::nullopt : std::optional(files.takeFirst());
    }

    std::optional<int> chooseEntry(QWidget*, const QString& title,
                                   const QStringList& offered) override {
        choices << title + "|" + offered.join('|');
        return entries.empty() ? std::nullopt : std::optional(entries.takeFirst());
    }

    std::optional<kavelto::TableCells> editTable(QWidget*,
                                                 const kavelto::TableEdit& edit) override {
        tableEdits << edit;
        return tables.empty() ? std::nullopt : std::optional(tables.takeFirst());
    }

    std::optional<QString> chooseFileToSave(QWidget* owner, const QStringList& filters) override {
        return chooseFileToOpen(owner, filters);
    }

    void runModal(QDialog& dialog) override {
        modalTitles << dialog.windowTitle();
        if (onModal)
            onModal(dialog);
    }

    void setClipboardText(const QString& text) override { clipboardTexts << text; }

    bool openDocument(const QString& path) override {
        openedDocuments << path;
        return documentsOpen;
    }

    bool openUrl(const QUrl& url) override { return openDocument(url.toString()); }
};

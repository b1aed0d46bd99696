#pragma once

#include "Platform.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A scripted desktop: records every box, chooser, modal window, clipboard text and opened
// document, and answers as the test told it to.
class FakePlatform final : public kavelto::Platform {
public:
    struct Message {
        QString text;
        QString caption;
        Buttons buttons;
        Icon icon;
    };

    // Answers for the next boxes, in order; an empty queue answers Ok.
    std::deque<Answer> answers;
    // Paths for the next file choosers, in order; nullopt or an empty queue cancels.
    std::deque<std::optional<QString>> files;
    // Called with each modal window instead of running it.
    std::function<void(QDialog&)> onModal;
    // Called with each box as it is shown.
    std::function<void(const Message&)> onMessage;
    // Whether opening a document succeeds.
    bool documentsOpen = true;

    std::vector<Message> messages;
    std::vector<QStringList> fileFilters;
    QStringList modalTitles;
    QList<const QWidget*> modalParents;
    QStringList clipboardTexts;
    QStringList openedDocuments;
    QList<QUrl> openedUrls;

    Answer showMessage(QWidget*, const QString& text, const QString& caption, Buttons buttons,
                       Icon icon) override {
        messages.push_back({text, caption, buttons, icon});
        if (onMessage)
            onMessage(messages.back());
        return take(answers, Answer::Ok);
    }

    std::optional<QString> chooseFileToOpen(QWidget*, const QStringList& filters) override {
        fileFilters.push_back(filters);
        if (files.empty())
            return std::nullopt;
        const std::optional<QString> next = files.front();
        files.pop_front();
        return next;
    }

    void runModal(QDialog& dialog) override {
        modalTitles << dialog.windowTitle();
        modalParents << dialog.parentWidget();
        if (onModal)
            onModal(dialog);
    }

    void setClipboardText(const QString& text) override { clipboardTexts << text; }

    bool openDocument(const QString& path) override {
        openedDocuments << path;
        return documentsOpen;
    }

    bool openUrl(const QUrl& url) override {
        openedUrls << url;
        return true;
    }

private:
    static Answer take(std::deque<Answer>& queue, Answer otherwise) {
        if (queue.empty())
            return otherwise;
        const Answer next = queue.front();
        queue.pop_front();
        return next;
    }
};

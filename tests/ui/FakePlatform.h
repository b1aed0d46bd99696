#pragma once

#include "Platform.h"

#include <QDialog>
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
        QString text, caption;
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
    QStringList modalTitles, clipboardTexts, openedDocuments;
    QList<const QWidget*> modalParents;
    QList<QUrl> openedUrls;

    Answer showMessage(QWidget*, const QString& text, const QString& caption, Buttons buttons,
                       Icon icon) override {
        messages.push_back({text, caption, buttons, icon});
        if (onMessage)
            onMessage(messages.back());
        return take(answers, Answer::Ok);
    }

    std::optional<QString> chooseFileToOpen(QWidget*, const QStringList&) override {
        return take(files, std::optional<QString>());
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
    template <typename T> static T take(std::deque<T>& queue, T otherwise) {
        const T next = queue.empty() ? otherwise : queue.front();
        if (!queue.empty())
            queue.pop_front();
        return next;
    }
};

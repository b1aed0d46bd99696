#pragma once

#include "TextEncoding.h"

#include <QString>

#include <string>
#include <string_view>

// Part texts are bytes; they show as UTF-8 where valid and as Latin-1 otherwise.
inline QString DisplayText(const char* bytes) {
    return QString::fromStdString(kavelto::DisplayUtf8(bytes));
}

// Each line decodes by itself, so one odd line does not change how the others read.
inline QString DisplayLines(const std::string& bytes) {
    QString text;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t feed = bytes.find('\n', start);
        const std::size_t end = feed == std::string::npos ? bytes.size() : feed + 1;
        text += QString::fromStdString(
            kavelto::DisplayUtf8(std::string_view(bytes).substr(start, end - start)));
        start = end;
    }
    return text;
}

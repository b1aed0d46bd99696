#pragma once

#include "base/TextEncoding.h"

#include <QString>

#include <string>
#include <string_view>

namespace kavelto {

// Part texts are bytes from the file in whichever encoding its tool used; they show as UTF-8
// where valid and as Latin-1 otherwise.
inline QString DisplayText(std::string_view bytes) {
    const std::string utf8 = DisplayUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Each line decodes by itself, so one odd line does not change how the others read.
inline QString DisplayLines(std::string_view bytes) {
    QString text;
    while (!bytes.empty()) {
        const std::size_t feed = bytes.find('\n');
        const std::size_t end = feed == std::string_view::npos ? bytes.size() : feed + 1;
        text += DisplayText(bytes.substr(0, end));
        bytes.remove_prefix(end);
    }
    return text;
}

} // namespace kavelto

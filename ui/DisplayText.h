#pragma once

#include "TextEncoding.h"

#include <QString>

// Part texts are bytes; they show as UTF-8 where valid and as Latin-1 otherwise.
inline QString DisplayText(const char* bytes) {
    return QString::fromStdString(kavelto::DisplayUtf8(bytes));
}

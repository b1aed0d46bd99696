#pragma once

#include "TempFile.h"
#include "placement/ColumnMap.h"

#include <gtest/gtest.h>

// The column map that a configuration file of the given text gives; the test fails if it is
// refused.
inline kavelto::ColumnMap ColumnMapFromText(const std::string& text) {
    kavelto::Result<kavelto::ColumnMap> read = kavelto::ReadColumnMap(TempFile(text).path());
    EXPECT_TRUE(read.ok()) << (read ? "" : read.failure().text);
    return read ? std::move(read).value() : kavelto::ColumnMap{};
}

#pragma once

#include "TempFile.h"
#include "placement/ColumnMap.h"

#include <gtest/gtest.h>

// The column map that a configuration file of the given text gives; the test fails if it is
// refused.
inline kavelto::ColumnMap ColumnMapFromText(const std::string& text) {
    kavelto::ColumnMap map;
    std::string message;
    EXPECT_EQ(kavelto::LoadColumnMap(TempFile(text).path(), map, message), 0) << message;
    return map;
}

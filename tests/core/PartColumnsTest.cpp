#include "PartColumns.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kavelto {
namespace {

// Fields in record order: prefix, partId, layer, x, y, value, package, rotation, placed.
const PartRecord kResistor{"R", 12, 'T', 10.5f, -3.25f, "10k", "0603", -90, 1};

PartRecord With(PartRecord part, void (*change)(PartRecord&)) {
    change(part);
    return part;
}

struct ColumnCase {
    const char* what;
    PartRecord part;
    int itemNumber;
    PartColumn column;
    std::string expected;
};

TEST(PartColumnTextTest, FormatsEachColumn) {
    const ColumnCase cases[] = {
        {"placed", kResistor, 1, PartColumn::Placed, "DONE"},
        {"not placed", With(kResistor, [](PartRecord& p) { p.placed = 0; }), 1, PartColumn::Placed,
         ""},
        {"item number", kResistor, 12, PartColumn::Item, "12"},
        {"designator", kResistor, 1, PartColumn::PartId, "R12"},
        {"value", kResistor, 1, PartColumn::Value, "10k"},
        {"value bytes as stored", With(kResistor, [](PartRecord& p) { p.value[0] = '\xB5'; }), 1,
         PartColumn::Value, std::string(1, '\xB5') + "0k"},
        {"package", kResistor, 1, PartColumn::Package, "0603"},
        {"layer", kResistor, 1, PartColumn::Layer, "T"},
        {"NUL layer shows nothing", With(kResistor, [](PartRecord& p) { p.layer = '\0'; }), 1,
         PartColumn::Layer, ""},
        {"negative rotation", kResistor, 1, PartColumn::Rotation, "-90"},
        {"largest rotation", With(kResistor, [](PartRecord& p) { p.rotation = 32767; }), 1,
         PartColumn::Rotation, "32767"},
        {"x with six decimals", kResistor, 1, PartColumn::X, "10.500000"},
        {"negative y", kResistor, 1, PartColumn::Y, "-3.250000"},
        {"zero", With(kResistor, [](PartRecord& p) { p.x = 0.0f; }), 1, PartColumn::X, "0.000000"},
        {"float digits beyond the sixth decimal",
         With(kResistor, [](PartRecord& p) { p.y = 12345.678f; }), 1, PartColumn::Y,
         "12345.677734"},
        {"largest float",
         With(kResistor, [](PartRecord& p) { p.x = std::numeric_limits<float>::max(); }), 1,
         PartColumn::X, "340282346638528859811704183484516925440.000000"},
        {"infinity",
         With(kResistor, [](PartRecord& p) { p.y = -std::numeric_limits<float>::infinity(); }), 1,
         PartColumn::Y, "-inf"},
    };
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PartColumnText(c.part, c.itemNumber, c.column), c.expected);
    }
}

TEST(PartColumnTextTest, KeepsAFullLengthValue) {
    PartRecord part = kResistor;
    const std::string fifty(50, 'v');
    fifty.copy(part.value, fifty.size());
    part.value[50] = '\0';
    EXPECT_EQ(PartColumnText(part, 1, PartColumn::Value), fifty);
}

TEST(DesignatorTextTest, RebuildsPrefixAndNumber) {
    const struct {
        PartRecord part;
        const char* expected;
    } cases[] = {
        {{"R", 40000, 't', 0, 0, "", "", 0, 0}, "R40000"},
        {{"R", 65535, 't', 0, 0, "", "", 0, 0}, "R65535"},
        {{"C", 0, 't', 0, 0, "", "", 0, 0}, "C0"},
        {{"", 7, 't', 0, 0, "", "", 0, 0}, "7"},
        {{"ABCDE", 1, 't', 0, 0, "", "", 0, 0}, "ABCDE1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DesignatorText(c.part), c.expected);
        EXPECT_EQ(PartColumnText(c.part, 1, PartColumn::PartId), c.expected);
    }
}

} // namespace
} // namespace kavelto

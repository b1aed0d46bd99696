#pragma once

#include <array>

namespace kavelto {

// What a column of the placement file holds. The numbers are those of line 3 of the
// configuration file.
enum class FieldCode : int {
    Ignored = 0,
    Designator = 1,
    Layer = 2,
    X = 3,
    Y = 4,
    Value = 5,
    Package = 6,
    Rotation = 7,
};

inline constexpr int kFieldCodeCount = 8;

// Every code that names a field of a record, in the order of their numbers.
inline constexpr std::array<FieldCode, 7> kRecordFields = {
    FieldCode::Designator, FieldCode::Layer,   FieldCode::X,        FieldCode::Y,
    FieldCode::Value,      FieldCode::Package, FieldCode::Rotation,
};

// The fields that the configuration file of the classic layout must place.
inline constexpr std::array<FieldCode, 4> kMandatoryClassicFields = {
    FieldCode::Designator, FieldCode::Layer, FieldCode::X, FieldCode::Y};

} // namespace kavelto

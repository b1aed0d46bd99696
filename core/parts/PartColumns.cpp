#include "parts/PartColumns.h"

#include <algorithm>
#include <charconv>
#include <cstddef>

namespace kavelto {

namespace {

// Long enough for any int and for the largest float with six decimals.
constexpr std::size_t kNumberBufferSize = 64;

template <typename Number> std::string IntegerText(Number number) {
    char buffer[kNumberBufferSize];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

// Fixed notation with six decimals, the way "%f" writes it in the C locale.
std::string FixedText(float number) {
    char buffer[kNumberBufferSize];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(number),
                                      std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

// Bounded by the field so that a text missing its NUL cannot read past it.
template <std::size_t N> std::string FieldText(const char (&field)[N]) {
    return std::string(field, std::find(field, field + N, '\0'));
}

std::string LayerText(char layer) {
    return layer == '\0' ? std::string() : std::string(1, layer);
}

} // namespace

std::string DesignatorText(const PartRecord& part) {
    return FieldText(part.designator);
}

std::string PartColumnText(const PartRecord& part, int itemNumber, PartColumn column) {
    switch (column) {
    case PartColumn::Placed:
        return part.placed ? "DONE" : "";
    case PartColumn::Item:
        return IntegerText(itemNumber);
    case PartColumn::PartId:
        return DesignatorText(part);
    case PartColumn::Value:
        return FieldText(part.value);
    case PartColumn::Package:
        return FieldText(part.package);
    case PartColumn::Layer:
        return LayerText(part.layer);
    case PartColumn::Rotation:
        return IntegerText(static_cast<int>(part.rotation));
    case PartColumn::X:
        return FixedText(part.x);
    case PartColumn::Y:
        return FixedText(part.y);
    }
    return std::string();
}

} // namespace kavelto

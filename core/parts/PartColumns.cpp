#include "parts/PartColumns.h"

#include <charconv>
#include <cstddef>
#include <optional>

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

std::string LayerText(std::optional<char> layer) {
    return layer ? std::string(1, *layer) : std::string();
}

} // namespace

std::string DesignatorText(const PartRecord& part) {
    return part.designator;
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
        return part.value;
    case PartColumn::Package:
        return part.package;
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

#include "parts/PartColumns.h"

#include <charconv>
#include <cstddef>
#include <optional>

namespace kavelto {

namespace {

// Long enough for any int and for the largest float in fixed notation.
constexpr std::size_t kNumberBufferSize = 64;

template <typename Number> std::string IntegerText(Number number) {
    char buffer[kNumberBufferSize];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

// The shortest fixed notation that reads back as the same float: the file's own "88.9" shows as
// such, not with the noise of its nearest float written to six decimals ("88.900002").
std::string PositionText(float number) {
    char buffer[kNumberBufferSize];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
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
        return PositionText(part.x);
    case PartColumn::Y:
        return PositionText(part.y);
    }
    return std::string();
}

} // namespace kavelto

#include "placement/LineFields.h"

namespace kavelto {

bool LineFields::split(std::string& line, char separator) {
    fields_.resize(line.size() + 1);
    count_ = SplitFields(line.data(), line.size(), separator, fields_.data());
    return count_ >= 0;
}

std::string_view LineFields::cell(int column) const {
    if (column < 0 || column >= count_)
        return {};
    const FieldSpan& field = fields_[static_cast<std::size_t>(column)];
    return std::string_view(field.text, static_cast<std::size_t>(field.textEnd - field.text));
}

} // namespace kavelto

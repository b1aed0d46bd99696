#include "parts/PartText.h"

#include <algorithm>
#include <cstring>

namespace kavelto {

PartText& PartText::operator=(const PartText& other) {
    if (this != &other)
        assign(other.view());
    return *this;
}

PartText& PartText::operator=(PartText&& other) noexcept {
    if (this == &other)
        return *this;
    release();
    std::memcpy(inline_, other.inline_, sizeof inline_);
    size_ = other.size_;
    other.forget();
    return *this;
}

PartText& PartText::operator=(std::string_view text) {
    assign(text);
    return *this;
}

void PartText::assignAnywhere(std::string_view text) {
    const std::size_t length = std::min(text.size(), kMaxPartTextLength);
    // text may lie inside this object's own storage: copy it out before that storage changes.
    if (length > kInlineCapacity) {
        char* copy = new char[length + 1];
        std::memcpy(copy, text.data(), length);
        copy[length] = '\0';
        release();
        heap_ = copy;
    } else {
        char kept[kInlineCapacity + 1];
        std::memcpy(kept, text.data(), length);
        release();
        std::memcpy(inline_, kept, length);
        inline_[length] = '\0';
    }
    size_ = static_cast<std::uint8_t>(length);
}

} // namespace kavelto

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace kavelto {

// The longest text a record keeps, in bytes: a longer text is cut there.
inline constexpr std::size_t kMaxPartTextLength = 255;

// One text of a part record, at most kMaxPartTextLength bytes. A text that fits in the object
// itself (nearly every designator, value and package) is kept there: reading a placement file
// then allocates nothing per part, where a standard string would for every package name longer
// than its own short buffer.
class PartText {
public:
    PartText() noexcept { inline_[0] = '\0'; }
    explicit PartText(std::string_view text) : PartText() { assign(text); }
    PartText(const char* text) : PartText(std::string_view(text)) {}
    PartText(const PartText& other) : PartText() { assign(other.view()); }
    // A move takes the bytes whole, heap pointer and all: reading a file moves every text twice.
    PartText(PartText&& other) noexcept : size_(other.size_) {
        std::memcpy(inline_, other.inline_, sizeof inline_);
        other.forget();
    }
    PartText& operator=(const PartText& other);
    PartText& operator=(PartText&& other) noexcept;
    PartText& operator=(std::string_view text);
    PartText& operator=(const char* text) { return *this = std::string_view(text); }
    ~PartText() {
        if (onHeap())
            delete[] heap_;
    }

    // Keeps text, cut at kMaxPartTextLength bytes.
    void assign(std::string_view text) {
        if (text.size() <= kInlineCapacity && !onHeap()) {
            // memmove, as text may be a piece of this very text.
            std::memmove(inline_, text.data(), text.size());
            inline_[text.size()] = '\0';
            size_ = static_cast<std::uint8_t>(text.size());
        } else {
            assignAnywhere(text);
        }
    }

    const char* data() const { return onHeap() ? heap_ : inline_; }
    const char* c_str() const { return data(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view view() const { return {data(), size_}; }

    operator std::string_view() const { return view(); }
    operator std::string() const { return std::string(data(), size_); }

    friend bool operator==(const PartText& a, const PartText& b) { return a.view() == b.view(); }
    friend bool operator==(const PartText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(std::string_view a, const PartText& b) { return a == b.view(); }
    // A literal compares with these, not by becoming either of the others.
    friend bool operator==(const PartText& a, const char* b) { return a.view() == b; }
    friend bool operator==(const char* a, const PartText& b) { return a == b.view(); }
    friend bool operator!=(const PartText& a, const PartText& b) { return !(a == b); }
    friend bool operator!=(const PartText& a, std::string_view b) { return !(a == b); }
    friend bool operator!=(std::string_view a, const PartText& b) { return !(a == b); }
    friend bool operator!=(const PartText& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const PartText& b) { return !(a == b); }

    friend std::ostream& operator<<(std::ostream& out, const PartText& text) {
        return out << text.view();
    }

private:
    static constexpr std::size_t kInlineCapacity = 30;

    bool onHeap() const { return size_ > kInlineCapacity; }
    void assignAnywhere(std::string_view text);
    void release() noexcept {
        if (onHeap())
            delete[] heap_;
        forget();
    }
    // Empty again, without freeing: what was held now has another owner, or none.
    void forget() noexcept {
        size_ = 0;
        inline_[0] = '\0';
    }

    // The object owns heap_ whenever the text is longer than kInlineCapacity.
    union {
        char inline_[kInlineCapacity + 1];
        char* heap_;
    };
    std::uint8_t size_ = 0;

    static_assert(kMaxPartTextLength <= UINT8_MAX, "the size must fit its byte");
};

} // namespace kavelto

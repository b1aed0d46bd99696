#pragma once

#include <string>
#include <utility>

namespace kavelto {

// Why reading a file failed, as the user is told; empty when it did not fail. It tests true
// when there is a message and stands for its text wherever a text is wanted.
class ReadError {
public:
    ReadError() = default;
    ReadError(const char* message) : message_(message) {}
    ReadError(std::string message) : message_(std::move(message)) {}

    explicit operator bool() const { return !message_.empty(); }
    operator const std::string&() const { return message_; }
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

} // namespace kavelto

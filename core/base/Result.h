#pragma once

#include "base/UserMessage.h"

#include <optional>
#include <utility>
#include <variant>

namespace kavelto {

// What an operation gives back: its value, or the message that tells the user why there is
// none. Every layer reports its failures this way; the window shows the message as it stands.
template <typename T> class Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(UserMessage failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T* operator->() const { return &std::get<0>(state_); }
    const UserMessage& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, UserMessage> state_;
};

// An operation that gives nothing back but may fail.
template <> class Result<void> {
public:
    Result() = default;
    Result(UserMessage failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const UserMessage& failure() const { return *failure_; }

private:
    std::optional<UserMessage> failure_;
};

} // namespace kavelto

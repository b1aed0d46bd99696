#pragma once

#include "base/UserMessage.h"

#include <optional>
#include <utility>
#include <variant>

namespace kavelto {

// What an operation gives back: its value, or why there is none. Every layer reports its
// failures this way, as the message the window shows as it stands; the file utilities give
// the failed step and the system's reason instead, for their callers to word.
template <typename T, typename Failure = UserMessage> class Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T* operator->() const { return &std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

// An operation that gives nothing back but may fail.
template <typename Failure> class Result<void, Failure> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return *failure_; }

private:
    std::optional<Failure> failure_;
};

} // namespace kavelto

#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace kavelto {

// The step of a file operation that failed: a writer tells the user whether the file could not
// be made at all or could not be written whole.
enum class FileStep { Open, Read, Create, Write };

// Why a file operation failed: the file or folder it failed on and the system's reason, for the
// caller to word the user's message around.
struct FileFailure {
    FileStep step;
    std::string path;
    std::string reason;

    // The system's text for an errno value.
    static FileFailure FromErrno(FileStep step, std::string path, int error);
};

// What a file operation gives back: its value, or why there is none.
template <typename T> class FileResult {
public:
    FileResult(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    FileResult(FileFailure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T* operator->() const { return &std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const FileFailure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, FileFailure> state_;
};

// A file operation that gives nothing back but may fail.
template <> class FileResult<void> {
public:
    FileResult() = default;
    FileResult(FileFailure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const FileFailure& failure() const { return *failure_; }

private:
    std::optional<FileFailure> failure_;
};

} // namespace kavelto

#pragma once

#include "base/Result.h"
#include "base/UserMessage.h"

#include <functional>
#include <optional>
#include <string>

namespace kavelto {

// Where the column layout of placement files is read from: Kavelto.ini in the working folder,
// else the user's own in the configuration folder, which a first run may create.
class ColumnMapLookup {
public:
    // configHome and home are $XDG_CONFIG_HOME and $HOME; a value that is not an absolute path
    // counts as unset.
    ColumnMapLookup(std::string workingFolder, const std::optional<std::string>& configHome,
                    const std::optional<std::string>& home);
    // The working folder and the variables of this process.
    static ColumnMapLookup FromEnvironment();

    // The file to read, as the working folder's relative name or the user's full path; nothing
    // when neither exists.
    std::optional<std::string> find(const std::function<bool(const std::string&)>& exists) const;

    // $XDG_CONFIG_HOME/kavelto/Kavelto.ini, else ~/.config/kavelto/Kavelto.ini; empty when
    // neither variable names a folder.
    const std::string& userFile() const { return userFile_; }
    // The folder of userFile(), where the user's other settings files lie too.
    const std::string& userFolder() const { return userFolder_; }

    // The box that says where the file was looked for: it offers to create the user's file
    // when there is a place for one, with Yes and No; else it only tells.
    UserMessage missingMessage() const;
    bool canCreate() const { return !userFile_.empty(); }

    // Creates the user's file with the three lines that read every file by its own name row,
    // and its folders where missing.
    Result<void> createUserFile() const;

private:
    std::string workingFolder_;
    std::string userFolder_;
    std::string userFile_;
};

} // namespace kavelto

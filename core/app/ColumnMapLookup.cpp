#include "app/ColumnMapLookup.h"

#include "app/AppMessages.h"
#include "files/FileUtils.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace kavelto {

namespace {

constexpr char kFileName[] = "Kavelto.ini";
// No header line, any separator, and each file's own name row says where its columns stand.
constexpr char kUserFileText[] = "0\n-\nauto\n";

std::optional<std::string> AbsolutePath(const std::optional<std::string>& path) {
    if (path && !path->empty() && (*path)[0] == '/')
        return path;
    return std::nullopt;
}

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string WorkingFolder() {
    char folder[PATH_MAX];
    return ::getcwd(folder, sizeof folder) ? folder : ".";
}

} // namespace

ColumnMapLookup::ColumnMapLookup(std::string workingFolder,
                                 const std::optional<std::string>& configHome,
                                 const std::optional<std::string>& home)
    : workingFolder_(std::move(workingFolder)) {
    if (const std::optional<std::string> config = AbsolutePath(configHome))
        userFolder_ = *config + "/kavelto";
    else if (const std::optional<std::string> homeFolder = AbsolutePath(home))
        userFolder_ = *homeFolder + "/.config/kavelto";
    if (!userFolder_.empty())
        userFile_ = userFolder_ + "/" + kFileName;
}

ColumnMapLookup ColumnMapLookup::FromEnvironment() {
    return ColumnMapLookup(WorkingFolder(), Variable("XDG_CONFIG_HOME"), Variable("HOME"));
}

std::optional<std::string>
ColumnMapLookup::find(const std::function<bool(const std::string&)>& exists) const {
    if (exists(kFileName))
        return std::string(kFileName);
    if (canCreate() && exists(userFile_))
        return userFile_;
    return std::nullopt;
}

UserMessage ColumnMapLookup::missingMessage() const {
    if (!canCreate())
        return ColumnMapMissing(workingFolder_);
    return ColumnMapOffer(workingFolder_, userFile_);
}

Result<void> ColumnMapLookup::createUserFile() const {
    const FileResult<void> folder = MakePrivateFolder(userFolder_, MissingParents::Make);
    const FileResult<void> written =
        folder ? WriteFileAtomically(userFile_, kUserFileText, 0644, Durability::OnDisk) : folder;
    if (!written)
        return CantCreateColumnMap(written.failure().path, written.failure().reason);
    return {};
}

} // namespace kavelto

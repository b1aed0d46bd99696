#include "app/PinOneTable.h"

#include "files/FileUtils.h"

namespace kavelto {

namespace {

// A few lines for every package of a large library.
constexpr std::int64_t kMaxTableBytes = std::int64_t{4} * 1024 * 1024;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

} // namespace

PinOneTable::PinOneTable(std::string path) : path_(std::move(path)) {
    if (path_.empty())
        return;
    if (const FileResult<std::string> text = ReadWholeFile<std::string>(path_, kMaxTableBytes))
        corrections_ = PinOneCorrections::FromText(text.value());
}

Result<void> PinOneTable::set(const std::string& package, const PinOneCorrection& correction) {
    corrections_.set(package, correction);
    if (path_.empty())
        return {};
    const FileResult<void> folder = MakePrivateFolder(FolderOf(path_), MissingParents::Make);
    const FileResult<void> written =
        folder ? WriteFileAtomically(path_, corrections_.toText(), 0644, Durability::OnDisk)
               : folder;
    if (!written)
        return ErrorMessage("Can't keep the pin 1 corrections in " + written.failure().path + ": " +
                            written.failure().reason);
    return {};
}

} // namespace kavelto

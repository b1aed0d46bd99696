#include "PickListPath.h"

#include "files/FileUtils.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelto {

namespace {

// Only an absolute path is taken: a relative one would put the page wherever the program
// happens to be started.
bool IsAbsolutePath(const char* value) {
    return value != nullptr && value[0] == '/';
}

bool IsDirectory(const char* path) {
    struct stat status {};
    return ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

std::string Child(std::string directory, const std::string& name) {
    if (directory.back() != '/')
        directory += '/';
    return directory + name;
}

} // namespace

std::string PickListPathIn(const char* runtimeDir, const char* tempDir) {
    std::string folder;
    if (IsAbsolutePath(runtimeDir) && IsDirectory(runtimeDir))
        folder = Child(runtimeDir, "kavelto");
    else
        folder = Child(IsAbsolutePath(tempDir) ? tempDir : "/tmp",
                       "kavelto-" + std::to_string(::geteuid()));
    if (!MakePrivateFolder(folder, MissingParents::Refuse))
        return {};
    return Child(folder, "picklst.html");
}

std::string GetPickListPath() {
    return PickListPathIn(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"));
}

} // namespace kavelto

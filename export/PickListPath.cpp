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
    return ExportPathIn(runtimeDir, tempDir, "picklst.html");
}

std::string ExportPathIn(const char* runtimeDir, const char* tempDir, const std::string& name) {
    std::string folder;
    if (IsAbsolutePath(runtimeDir) && IsDirectory(runtimeDir))
        folder = Child(runtimeDir, "kavelto");
    else
        folder = Child(IsAbsolutePath(tempDir) ? tempDir : "/tmp",
                       "kavelto-" + std::to_string(::geteuid()));
    if (!MakePrivateFolder(folder, MissingParents::Refuse))
        return {};
    return Child(folder, name);
}

std::string GetPickListPath() {
    return GetExportPath("picklst.html");
}

std::string GetExportPath(const std::string& name) {
    return ExportPathIn(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"), name);
}

} // namespace kavelto

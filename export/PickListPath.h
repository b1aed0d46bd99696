#pragma once

#include <string>

namespace kavelto {

// Where the pick list page goes: `picklst.html` in a folder of the user's own, so that users
// sharing the machine neither see each other's page nor block each other's writes. The folder
// is `$XDG_RUNTIME_DIR/kavelto` when that variable names an existing directory, else
// `$TMPDIR/kavelto-<uid>` (`/tmp` when TMPDIR is unset or empty); a variable that is not an
// absolute path counts as unset. A missing folder is made with mode 0700; an existing one must
// be a real directory (not a link) owned by the effective user, and is set back to mode 0700 if
// its mode differs. An empty result means no such folder could be had.
std::string GetPickListPath();

// A file of the given name in the same folder, made as above; empty when it can't be had.
std::string GetExportPath(const std::string& name);

// The same from the two variables' values (either may be null): `runtimeDir` for
// XDG_RUNTIME_DIR, `tempDir` for TMPDIR.
std::string PickListPathIn(const char* runtimeDir, const char* tempDir);
std::string ExportPathIn(const char* runtimeDir, const char* tempDir, const std::string& name);

} // namespace kavelto

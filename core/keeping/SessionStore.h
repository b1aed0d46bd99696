#pragma once

#include "keeping/KeptFileWriter.h"
#include "keeping/KeptSession.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kavelto {

// Keeps the running assembly on disk, so that a closed window, a crash or a power cut loses
// at most the last action. Each placement file has two kept sessions in the folder, named
// after its path: the current one, rewritten whole (temporary file and rename) at every change,
// and the one before it. The current one moves aside when a load starts afresh, when all marks
// are cleared and when a kept session is restored, so each of these can be undone; one with
// nothing placed and no calibration is not worth moving aside. The files are written on a
// thread of their own; what the store offers is known without reading them back.
class SessionStore {
public:
    // An empty folder keeps nothing.
    explicit SessionStore(std::string folder);

    // A placement file was loaded: the sessions kept for it, if its content is still the same,
    // can be restored; the first change after the load moves the last one aside.
    void openFile(const std::string& placementPath);
    // Nothing is loaded any more: nothing is kept or offered.
    void closeFile();

    // Writes the state when it differs from what was last kept.
    void keep(KeptSession state);
    // Returns once everything kept is on disk.
    void flush() { writer_.flush(); }

    // The next change starts a new current session, after all marks were cleared or a kept
    // session was restored.
    void startAfresh() { moveAsideOnKeep_ = true; }

    // The kept session that restoring would put back: the last one of an earlier run until
    // this run has changed something, then the one before the last start afresh.
    const std::optional<KeptSession>& offered() const { return offered_; }

    // Where the kept sessions of the current placement file lie.
    std::string currentPath() const;
    std::string previousPath() const;

private:
    std::optional<KeptSession> readKept(const std::string& path) const;

    std::string folder_;
    std::string placementPath_;
    std::uint64_t contentHash_ = 0;
    bool open_ = false;
    bool moveAsideOnKeep_ = false;
    std::string lastKept_;
    std::optional<KeptSession> current_; // what the two files hold, or will once written
    std::optional<KeptSession> previous_;
    std::optional<KeptSession> offered_;
    KeptFileWriter writer_;
};

// $XDG_STATE_HOME/kavelto, or ~/.local/state/kavelto; empty when neither can be had.
std::string SessionStateFolder();

// A 64-bit hash of the file's bytes; nothing when it can't be read.
std::optional<std::uint64_t> FileContentHash(const std::string& path);

} // namespace kavelto

#pragma once

#include "base/Result.h"
#include "files/FileLock.h"
#include "keeping/ContentHash.h"
#include "keeping/KeptFileWriter.h"
#include "keeping/KeptSession.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kavelto {

// Keeps the running assembly on disk, so that a closed window, a crash or a power cut loses
// at most the last action. Each placement file has a short history of kept sessions in the
// folder, named after its path: the current one, rewritten whole (temporary file and rename) at
// every change, and the ones before it, newest first, up to kKeptGenerations in all. The current
// one moves aside when a load starts afresh, when all marks are cleared and when a kept session
// is restored, so each of these can be undone; one with nothing placed and no calibration is not
// worth moving aside. Only the oldest beyond kKeptGenerations go. The files are written on a
// thread of their own; what the store offers is known without reading them back.
//
// One store at a time keeps a placement file: it holds a lock beside the kept sessions while
// the file is open in it, so that two windows on one board never overwrite each other's marks.
class SessionStore {
public:
    static constexpr int kKeptGenerations = 10;

    // An empty folder keeps nothing.
    explicit SessionStore(std::string folder);
    // Writes what is still waiting, then lets the lock go.
    ~SessionStore() = default;
    SessionStore(const SessionStore&) = delete;
    SessionStore& operator=(const SessionStore&) = delete;

    // A placement file was loaded: the sessions kept for it, if its content is still the same,
    // can be restored; the first change after the load moves the last one aside. A damaged
    // current session is passed over for the one before it. Fails, with the message to show,
    // when another store (of this process or another) holds the file, or when the folder can't
    // be made ours alone: this one then keeps and offers nothing for it. A folder where no lock
    // can be taken (a file system without locks) keeps all the same; its failures come from
    // takeFailure(). Temporary files that writes cut short left for this file are removed, and
    // those of any file once they are old.
    Result<void> openFile(const std::string& placementPath);
    // Nothing is loaded any more: what is waiting is written, the lock let go, and nothing is
    // kept or offered.
    void closeFile();

    // Writes the state of the session at this revision, when the revision moved since the last
    // write; state() runs only then. Writes asked for faster than the disk takes them are
    // coalesced: the last one always reaches it.
    void keep(std::uint64_t revision, const std::function<KeptSession()>& state);
    // Returns once everything kept is written.
    void flush() { writer_.flush(); }

    // The message for the first write that failed since the last one that succeeded, once; a
    // failure for the same reason again is not told until a write succeeds.
    std::optional<UserMessage> takeFailure();
    // The kept files that openFile() found damaged and passed over, each named once a run.
    std::vector<UserMessage> takeDamaged() { return std::exchange(damaged_, {}); }

    // The next change starts a new current session, after all marks were cleared or a kept
    // session was restored.
    void startAfresh() { moveAsideOnKeep_ = true; }

    // The kept session that restoring would put back: the newest one of this content that an
    // earlier run kept, until this run has changed something; then the newest one before this
    // run's own.
    std::optional<KeptSession> offered() const;
    // Every kept session of this content that restoring could put back, newest first: the
    // offered one and those before it.
    std::vector<KeptSession> history() const;
    // The newest kept session of this placement file with marks, when its content was another:
    // the file was exported again since.
    std::optional<KeptSession> keptForOtherContent() const;

    // Where the kept sessions of the current placement file lie: generation 0 is the current
    // one, 1 the one before it, and so on.
    std::string generationPath(int generation) const;
    std::string currentPath() const { return generationPath(0); }
    std::string previousPath() const { return generationPath(1); }

private:
    std::optional<KeptSession> readKept(const std::string& path);
    // What taking the lock found: another store holds it, or no lock can be had at all.
    struct LockTaken {
        bool heldElsewhere = false;
        std::optional<FileFailure> failure;
    };
    LockTaken holdLock(bool sameFile);
    void removeLeftovers() const;

    std::string folder_;
    std::string placementPath_;
    std::uint64_t contentHash_ = 0;
    bool open_ = false;
    bool moveAsideOnKeep_ = false;
    std::optional<std::uint64_t> keptRevision_;
    bool keptSinceOpen_ = false;
    // What the files hold, or will once written, newest first: sessions of this placement file,
    // of any content; nothing for a file missing or damaged.
    std::vector<std::optional<KeptSession>> generations_;
    std::vector<UserMessage> damaged_;  // not yet told
    std::set<std::string> damagedTold_; // the paths named so far
    FileLock lock_;
    KeptFileWriter writer_; // after the lock: its last writes are done before the lock goes
};

// $XDG_STATE_HOME/kavelto, or ~/.local/state/kavelto, the home folder taken from the user
// database when HOME is not set; empty when none can be had.
std::string SessionStateFolder();

} // namespace kavelto

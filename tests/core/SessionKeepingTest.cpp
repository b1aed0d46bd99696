#include "KeptFields.h"
#include "SessionRig.h"
#include "keeping/KeepingMessages.h"
#include "keeping/SessionStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

constexpr PicturePoint kPressed{true, 100, 400};

// R1 to R4, all on the top face.
const std::string kFourOnTop = kHeader + "R1,1k,0603,10,20,0,top\nR2,1k,0603,60,70,0,top\n"
                                         "R3,1k,0603,35,45,0,top\nR4,1k,0603,40,50,0,top\n";

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The boxes keeping shows: an error stops, a warning lets the user go on.
UserMessage Error(const std::string& text) {
    return {text, "Error", MessageButtons::Ok, MessageIcon::Stop};
}
UserMessage Warning(const std::string& text) {
    return {text, "Kavelto", MessageButtons::Ok, MessageIcon::Exclamation};
}
UserMessage CantKeep(const std::string& folder, const std::string& reason) {
    return Error("Can't keep the session in " + folder + ": " + reason);
}

// What opening a file told the user, or nothing when it went through.
std::optional<UserMessage> Told(const Result<void>& opened) {
    return opened ? std::nullopt : std::optional(opened.failure());
}

// One run of the program on a placement file: a session and its store over the state folder
// beside the file, or in the folder given, which keeps what each action changed. It counts the
// states the store asked for.
struct ProgramRun : SessionRig {
    explicit ProgramRun(std::string placement, const std::string& folder = "")
        : parts(std::move(placement)), store(folder.empty() ? parts + ".state" : folder) {}
    // The file loaded as the window loads it: into the session first, then into the store.
    Result<void> open() {
        session.loadPlacementFile(parts);
        return store.openFile(parts);
    }
    void load() {
        EXPECT_TRUE(open().ok());
        keep();
        store.flush(); // before the test touches the kept files; opening a file flushes too
    }
    void keep() {
        store.keep(session.keptRevision(), [this] {
            ++statesTaken;
            return session.keptState();
        });
    }
    // A press on the picture, dragged 10 pixels down and right and released 10 more on.
    void dragFrom(PicturePoint at) {
        session.pressOnPicture(at);
        session.dragOnPicture({true, at.x + 10, at.y + 10});
        session.releaseOnPicture({true, at.x + 20, at.y + 20});
    }
    // The selected row of the current kept session on disk, or nothing when there is none.
    std::optional<int> keptRow() {
        store.flush();
        const std::optional<KeptSession> kept = ParseKeptSession(FileText(store.currentPath()));
        return kept ? std::optional(kept->selectedRow) : std::nullopt;
    }
    // The marks and the selected row of the session on offer, or nothing when none is.
    std::optional<std::pair<std::vector<int>, int>> offer() const {
        const std::optional<KeptSession> kept = store.offered();
        return kept ? std::optional(std::pair(kept->placed, kept->selectedRow)) : std::nullopt;
    }

    const std::string parts;
    SessionStore store;
    int statesTaken = 0;
};

// A placement file, of four parts on the top face unless told, and a picture; the state folder
// beside them goes with them.
struct BoardFiles {
    explicit BoardFiles(const std::string& partsText = kFourOnTop) : parts(partsText) {}
    ~BoardFiles() { fs::remove_all(folder); }
    const TempFile parts;
    const TempFile picture{"a picture's bytes"};
    const std::string folder = parts.path() + ".state";
};

// The tests of keeping on the four parts of BoardFiles, each run with fresh files.
class SessionKeeping : public ::testing::Test {
protected:
    const BoardFiles files;
    const std::string& parts = files.parts.path();
};

// R1 placed and kept, then R2 as well in a session started afresh: the current session holds
// both marks and row 2 selected, the one before it R1's mark alone.
void KeepR1ThenR1AndR2(ProgramRun& run) {
    run.load();
    run.enter(0);
    run.keep();
    run.store.startAfresh();
    run.enter(std::nullopt);
    run.keep();
    run.store.flush();
}

// Each field the session restores is the session's afterwards, on four parts and an unchanged
// picture (the calibration holds only there); a mark placed before is cleared, and the row
// restored is shown.
TEST_F(SessionKeeping, RestoresEachField) {
    for (const KeptField& row : kSessionFields) {
        SCOPED_TRACE(row.name);
        SessionRig rig;
        rig.loadText(kHeader + "R1,1k,0603,10,20,0,top\nR2,1k,0603,60,70,0,top\n"
                               "R3,1k,0603,35,45,0,top\nR4,1k,0603,40,50,0,bottom\n");
        rig.showPicture(files.picture.path());
        KeptSession kept = rig.session.keptState();
        kept.calibratedOn = CalibratedPictureNow(files.picture.path());
        row.set(kept);
        rig.enter(1);
        EXPECT_EQ(rig.session.restore(kept).reveal, kept.selectedRow);
        KeptSession now = rig.session.keptState();
        now.placedOnFace = kept.placedOnFace; // counted afresh, on the face restored
        now.faceCount = kept.faceCount;
        EXPECT_EQ(Described(now), Described(kept));
    }
}

// Marks on both faces, the calibration, the picture, the face, order and count come back in a
// new run. There the restored calibration identifies parts: C1 lies at pixel (100, 400), C2 at
// (600, 900), and the reach is two marker boxes of 100 pixels. A part is found on either face by
// its whole designator in any case, and the face changes as the face buttons change it,
// calibration and all.
TEST_F(SessionKeeping, RestoresBothFacesAndTheCalibrationInANewRun) {
    // R1 and R2 on top, C1 and C2 on the bottom; a direct pair of 0.1 board unit per pixel.
    const BoardFiles both(kHeader + "R1,1k,0603,10,20,0,top\nR2,1k,0603,60,70,0,top\n"
                                    "C1,1u,0805,35,45,0,bottom\nC2,1u,0805,40,50,0,bottom\n");
    {
        ProgramRun first(both.parts.path());
        first.load();
        first.enter(0);
        first.session.changeFace(Face::Bottom);
        first.showPicture(both.picture.path());
        first.calibratePair();
        first.enter(1);
        first.session.changeSort(2);
        EXPECT_TRUE(first.session.readPcbCount("12"));
        first.keep();
    } // closed without a word, as Esc closes
    ProgramRun second(both.parts.path());
    second.load();
    const KeptSession offer = second.store.offered().value_or(KeptSession{});
    EXPECT_EQ(RestoreCaption(offer).substr(0, 40), "Restore session (1 + 1 of 2 + 2 placed, ");
    AssemblySession& s = second.session;
    s.restore(offer);
    EXPECT_EQ(std::make_tuple(s.keptState().placed, s.face(), s.sortMode(), s.pcbCount(),
                              s.view().bitmapPath.has_value()),
              std::make_tuple(std::vector{0, 3}, Face::Bottom, SortMode::PrefixPartId, 12u, true));
    EXPECT_EQ(s.identifyPartAt({true, 560, 860}).reveal, 1);
    EXPECT_EQ(s.identifyPartAt({true, -110, 400}).reveal, std::nullopt);
    EXPECT_FALSE(s.findPart("R").has_value());
    EXPECT_EQ(s.findPart("r2").value_or(SessionUpdate()).reveal, 1); // R2, on the top face
    EXPECT_EQ(std::make_tuple(s.face(), s.calibration().state),
              std::make_tuple(Face::Top, CalState::None));
}

// A new run offers the newest session kept for this very file as it is, while it changes things
// of its own: the last one kept before the window closed, however fast it came. One kept for
// another path under this file's name is passed over, and so is one kept before the file changed.
// The marks cleared by mistake come back, and so do those of a run that forgot to restore: a
// session with nothing placed is never moved aside over them.
TEST_F(SessionKeeping, OffersWhatWasKeptForThisFileAsItIs) {
    const auto keptElsewhere = [](ProgramRun& r) {
        for (const std::string& path : {r.store.currentPath(), r.store.previousPath()}) {
            KeptSession kept = ParseKeptSession(FileText(path)).value_or(KeptSession{});
            kept.placementPath = "/elsewhere.csv";
            std::ofstream(path, std::ios::trunc) << KeptSessionText(kept);
        }
    };
    const std::pair<std::vector<int>, int> keptLast({0, 1}, 2);
    const struct {
        const char* name;
        std::function<void(ProgramRun&)> change; // by the run that kept R1, then R1 and R2
        std::optional<std::pair<std::vector<int>, int>> offered; // the marks and the row
    } rows[] = {
        {"as it was kept", [](ProgramRun&) {}, keptLast},
        {"the selection moved fast",
         [](ProgramRun& r) {
             for (const NavigationKey key : {NavigationKey::End, NavigationKey::Up,
                                             NavigationKey::Home, NavigationKey::Down}) {
                 r.session.navigate(key);
                 r.keep();
             }
         },
         std::pair(keptLast.first, 1)},
        {"both kept for another path", keptElsewhere, std::nullopt},
        {"the file changed since",
         [](ProgramRun& r) { std::ofstream(r.parts, std::ios::app) << "R5,1k,0603,1,2,0,top\n"; },
         std::nullopt},
        {"all marks cleared",
         [](ProgramRun& r) {
             r.store.startAfresh();
             r.session.unplaceAll();
             r.keep();
         },
         keptLast},
        {"a run between that did not restore",
         [](ProgramRun& r) {
             r.store.closeFile();
             ProgramRun(r.parts).load();
         },
         keptLast},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BoardFiles board;
        {
            ProgramRun first(board.parts.path());
            KeepR1ThenR1AndR2(first);
            row.change(first);
        }
        ProgramRun next(board.parts.path());
        next.load();
        next.enter(0);
        next.session.navigate(NavigationKey::End);
        next.keep();
        EXPECT_EQ(next.offer(), row.offered);
    }
}

// The offer counts both faces, top first, where the session counted them; one kept before, the
// face it showed. The progress survives the text.
TEST(KeepingMessages, RestoreCaptionCountsBothFaces) {
    const struct {
        std::optional<FaceProgress> faces;
        std::string caption; // up to the time, "14:02)"
    } rows[] = {
        {FaceProgress{3, 0, 146, 14}, "Restore session (3 + 0 of 146 + 14 placed, "},
        {FaceProgress{0, 14, 146, 14}, "Restore session (0 + 14 of 146 + 14 placed, "},
        {std::nullopt, "Restore session (5 of 14 placed, "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        KeptSession kept;
        kept.placedOnFace = 5;
        kept.faceCount = 14;
        for (int i = 0; i < kept.placedOnFace; ++i) {
            kept.placed.push_back(i);
            kept.marks.push_back({"R" + std::to_string(i + 1), Face::Top, "", ""});
        }
        kept.faces = row.faces;
        const std::optional<KeptSession> back = ParseKeptSession(KeptSessionText(kept));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->faces, row.faces);
        const std::string caption = RestoreCaption(*back);
        EXPECT_EQ(caption.substr(0, row.caption.size()), row.caption);
        EXPECT_EQ(caption.size(), row.caption.size() + 6);
    }
}

// Each command that changes what is kept writes once; one that changes nothing writes nothing,
// and its state is not even taken. Row 0 is selected after the load; the picture is drawn.
TEST_F(SessionKeeping, WritesOnceForEachChangeAndNeverForNone) {
    using Command = std::function<void(ProgramRun&)>;
    const auto key = [](NavigationKey k) -> Command {
        return [k](ProgramRun& r) { r.session.navigate(k); };
    };
    const struct {
        const char* name;
        Command command;
        std::optional<int> keptRow; // the selected row written; nothing when nothing is
    } cases[] = {
        {"Down moves the selection", key(NavigationKey::Down), 1},
        {"End moves the selection", key(NavigationKey::End), 3},
        {"Up on the first row", key(NavigationKey::Up), {}},
        {"click on another row", [](ProgramRun& r) { r.click(2); }, 2},
        {"click on the selected row", [](ProgramRun& r) { r.click(0); }, {}},
        {"Enter places and steps on", [](ProgramRun& r) { r.enter(0); }, 1},
        {"press on the picture", [](ProgramRun& r) { r.session.pressOnPicture(kPressed); }, {}},
        {"drag and release", [](ProgramRun& r) { r.dragFrom(kPressed); }, {}},
        {"frame resized", [](ProgramRun& r) { r.session.setFrameSize(800, 600); }, {}},
        {"Top while the top is shown", [](ProgramRun& r) { r.session.changeFace(Face::Top); }, {}},
        {"the order in force chosen", [](ProgramRun& r) { r.session.changeSort(0); }, {}},
        {"another order", [](ProgramRun& r) { r.session.changeSort(2); }, 0},
        {"zoom in", [](ProgramRun& r) { r.session.zoomIn(); }, 0},
        {"turn", [](ProgramRun& r) { r.session.rotateLeft(); }, 0},
        {"flip", [](ProgramRun& r) { r.session.flip(); }, 0},
        {"the same PCB count read", [](ProgramRun& r) { r.session.readPcbCount("1"); }, {}},
        {"a new PCB count", [](ProgramRun& r) { r.session.readPcbCount("12"); }, 0},
        {"Cal 1", [](ProgramRun& r) { r.session.cal1(); }, 0},
        {"unplace all", [](ProgramRun& r) { r.session.unplaceAll(); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run(parts);
        run.load();
        run.showPicture(files.picture.path());
        run.keep();
        ASSERT_EQ(run.keptRow(), 0);
        fs::remove(run.store.currentPath());
        run.statesTaken = 0;
        c.command(run);
        run.keep();
        EXPECT_EQ(std::make_tuple(run.keptRow(), run.statesTaken),
                  std::make_tuple(c.keptRow, c.keptRow ? 1 : 0));
    }
}

// The first failed write is told once, naming the folder and the reason; the same failure again
// stays quiet, another reason is told, and after a write that succeeds a failure is told again.
TEST_F(SessionKeeping, TellsTheFirstFailedWriteOnce) {
    const std::string& folder = files.folder;
    const std::function<void()> asItIs = [] {};
    const std::function<void()> mended = [&] { fs::remove_all(folder); };
    const std::function<void()> aFile = [&] {
        mended();
        std::ofstream(folder) << "in the way";
    };
    const std::function<void()> aLink = [&] {
        mended();
        fs::create_directory_symlink("/tmp", folder);
    };
    const struct {
        const char* name;
        std::function<void()> change;
        std::optional<UserMessage> told;
    } steps[] = {
        {"written", asItIs, std::nullopt},
        {"folder replaced by a file", aFile, CantKeep(folder, "Not a directory")},
        {"still a file", asItIs, std::nullopt},
        {"a link instead", aLink, CantKeep(folder, "A link, not a folder")},
        {"folder made again", mended, std::nullopt},
        {"a file again", aFile, CantKeep(folder, "Not a directory")},
    };
    ProgramRun run(parts);
    run.load();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        run.session.navigate(run.session.selection().row == 0 ? NavigationKey::Down
                                                              : NavigationKey::Up);
        run.keep();
        run.store.flush();
        EXPECT_EQ(run.store.takeFailure(), step.told);
        EXPECT_EQ(run.store.takeFailure(), std::nullopt);
    }
    mended();
}

// What the load tells, before anything is placed, when the board can't be kept as it should be:
// a folder where nothing can be kept, another store holding the board (here in the same process)
// or the file gone between its load and its keeping keep and offer nothing; where no lock can be
// had (here a folder stands where the lock file goes) the board is kept all the same. A folder
// others may write to is made the user's alone, and any other is left as it is. Giving a folder
// away takes root: without it, the root folder stands for another user's.
TEST_F(SessionKeeping, TellsAtTheLoadWhatKeepsNothingOrKeepsUnguarded) {
    const std::string& state = files.folder;
    const std::string moved = parts + ".moved";
    ProgramRun holder(parts);
    holder.load();
    const std::string lock = holder.store.currentPath() + ".lock";
    const auto folder = [&](fs::perms perms) {
        fs::create_directory(state);
        fs::permissions(state, perms);
    };
    const bool root = ::geteuid() == 0;
    const std::function<void()> givenAway = [&] {
        folder(fs::perms::owner_all | fs::perms::group_all);
        ASSERT_EQ(::chown(state.c_str(), 65534, 65534), 0);
    };
    const std::function<void()> gone = [&] {
        folder(fs::perms::owner_all);
        fs::rename(parts, moved);
    };
    const struct {
        const char* name;
        std::function<void()> make; // after the session's load
        std::string folder;
        std::optional<UserMessage> told;
        std::optional<int> keptRow; // nothing when nothing is kept
        std::function<void()> putBack = [] {};
    } rows[] = {
        {"a file in the way", [&] { std::ofstream(state) << "in the way"; }, state,
         CantKeep(state, "Not a directory"), std::nullopt},
        {"a link", [&] { fs::create_directory_symlink(fs::temp_directory_path(), state); }, state,
         CantKeep(state, "A link, not a folder"), std::nullopt},
        {"another user's folder", root ? givenAway : [] {}, root ? state : "/",
         CantKeep(root ? state : "/", "Owned by another user"), std::nullopt},
        {"a folder others may write to", [&] { folder(fs::perms::all); }, state, std::nullopt, 0},
        {"the board open in another store", [&] { EXPECT_TRUE(holder.open().ok()); }, state,
         Warning("This board is open in another window: this window keeps nothing of it."),
         std::nullopt},
        {"a folder where the lock goes", [&] { fs::create_directories(lock); }, state,
         Warning("Can't lock " + lock + ": " + std::strerror(EISDIR) +
                 ". The session is kept, but another window on this board could overwrite it."),
         0},
        {"the file gone", gone, state,
         Error("Can't read " + parts +
               " again to keep its session: nothing of this board is kept."),
         std::nullopt, [&] { fs::rename(moved, parts); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        holder.store.closeFile();
        fs::remove_all(state);
        ProgramRun run(parts, row.folder);
        run.session.loadPlacementFile(parts);
        row.make();
        const fs::perms before = fs::symlink_status(row.folder).permissions();
        struct stat owner {};
        ASSERT_EQ(::lstat(row.folder.c_str(), &owner), 0);
        EXPECT_EQ(Told(run.store.openFile(parts)), row.told);
        row.putBack();
        struct stat after {};
        ASSERT_EQ(::lstat(row.folder.c_str(), &after), 0);
        EXPECT_EQ(std::make_tuple(fs::symlink_status(row.folder).permissions(), after.st_uid),
                  std::make_tuple(row.keptRow ? fs::perms::owner_all : before, owner.st_uid));
        run.keep();
        EXPECT_EQ(std::make_tuple(run.keptRow(), run.statesTaken, run.store.offered().has_value()),
                  std::make_tuple(row.keptRow, row.keptRow ? 1 : 0, false));
    }
}

// The store that keeps a file, asked to open it again, offers what it kept as a new run would.
TEST_F(SessionKeeping, OpenedAgainOffersWhatThisRunKept) {
    ProgramRun run(parts);
    run.load();
    run.enter(0);
    run.keep();
    EXPECT_TRUE(run.store.openFile(parts).ok());
    EXPECT_EQ(run.store.offered().value_or(KeptSession{}).placed, std::vector<int>{0});
}

// A store that opens another placement file keeps nothing of the one before for it: no history,
// and no marks to restore by designator.
TEST_F(SessionKeeping, AnotherFileOffersNothingOfTheOneBefore) {
    ProgramRun run(parts);
    run.load();
    run.enter(0);
    run.keep();
    const TempFile other("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,2k,0603,10,20,0,top\n");
    EXPECT_TRUE(run.store.openFile(other.path()).ok());
    EXPECT_TRUE(run.store.history().empty());
    EXPECT_EQ(run.store.keptForOtherContent(), std::nullopt);
}

// One store at a time keeps a placement file, as the load tells the others; once the first lets
// go, by closing or by opening a file it can't read, a new one keeps the file. The store that
// holds it opens it again at will.
TEST_F(SessionKeeping, KeepsABoardInOneStoreAtATime) {
    auto first = std::make_unique<ProgramRun>(parts);
    first->load();
    first->load(); // loading the board again keeps its lock
    EXPECT_TRUE(first->store.openFile(parts).ok());
    fs::remove(first->store.currentPath());
    first->keep(); // a file opened anew is written, though the session did not move
    EXPECT_EQ(first->keptRow(), 0);
    ProgramRun second(parts);
    EXPECT_FALSE(second.open().ok());
    first->store.closeFile();
    EXPECT_TRUE(second.store.openFile(parts).ok());
    second.store.closeFile();
    first.reset();
    ProgramRun third(parts);
    third.load();
    EXPECT_EQ(third.keptRow(), 0);
    // A file that can't be read lets go of the board before as well.
    EXPECT_FALSE(third.store.openFile(parts + ".gone").ok());
    ProgramRun fourth(parts);
    EXPECT_TRUE(fourth.store.openFile(parts).ok());
}

// A kept session damaged on the disk is named once a run in a box and never applied: the one
// before it is offered instead, and stays on the disk while the next changes are kept.
TEST_F(SessionKeeping, PassesOverADamagedSessionForTheOneBefore) {
    std::string current;
    {
        ProgramRun first(parts);
        KeepR1ThenR1AndR2(first);
        current = first.store.currentPath();
    }
    std::string text = FileText(current);
    const std::size_t marks = text.find("\nplaced 2 0 1\n");
    ASSERT_NE(marks, std::string::npos) << text;
    text[marks + 12] = '2'; // the marks of R1 and R3
    const UserMessage damaged =
        Error("The kept session " + current + " is damaged and was not used");
    ProgramRun second(parts);
    for (const bool firstLoad : {true, false}) {
        SCOPED_TRACE(firstLoad ? "first load" : "load again");
        std::ofstream(current, std::ios::trunc) << text;
        second.store.closeFile();
        second.load();
        EXPECT_EQ(second.store.takeDamaged(),
                  firstLoad ? std::vector{damaged} : std::vector<UserMessage>{});
        EXPECT_EQ(second.offer(), std::pair(std::vector{0}, 1));
        EXPECT_TRUE(fs::exists(second.store.previousPath()));
    }
}

// The folder of the kept sessions by the environment: XDG_STATE_HOME when it names a folder by its
// whole path, else HOME, else the home folder of the user database (the "passwd" entry), as for a
// program started by a service without HOME.
TEST(SessionStateFolder, FindsTheFolderWithoutHome) {
    const struct passwd* user = ::getpwuid(::geteuid());
    ASSERT_TRUE(user && user->pw_dir);
    const std::string users = std::string(user->pw_dir) + "/.local/state/kavelto";
    const struct {
        const char* name;
        const char* state; // nullptr: not set
        const char* home;
        std::string folder;
    } rows[] = {
        {"XDG_STATE_HOME", "/s", "/h", "/s/kavelto"},
        {"a relative XDG_STATE_HOME", "s", "/h", "/h/.local/state/kavelto"},
        {"HOME alone", nullptr, "/h", "/h/.local/state/kavelto"},
        {"neither", nullptr, nullptr, users},
        {"a relative HOME", nullptr, "h", users},
    };
    const auto set = [](const char* name, const char* value) {
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    };
    const std::string state = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        set("XDG_STATE_HOME", row.state);
        set("HOME", row.home);
        EXPECT_EQ(SessionStateFolder(), row.folder);
    }
    set("XDG_STATE_HOME", state.empty() ? nullptr : state.c_str());
    set("HOME", home.empty() ? nullptr : home.c_str());
}

// The temporary files of writes cut short are removed when their board is loaded next; those
// of other boards only once they are an hour old, as a write in another window may be running.
TEST_F(SessionKeeping, RemovesTheLeftoversOfWritesCutShort) {
    std::string current;
    {
        ProgramRun first(parts);
        first.load();
        current = fs::path(first.store.currentPath()).filename().string();
    }
    // Ages in seconds: a write of another window may run for a while, but not past the hour.
    const struct {
        std::string name;
        int age;
        bool removed;
    } leftovers[] = {
        {current + ".a1B2c3", 0, true},
        {current + ".1.Zz09Aa", 0, true},
        {current + ".9.Zz09Ab", 0, true},
        {"0123456789abcdef.session.Qw3rty", 0, false},
        {"0123456789abcdef.session.Qw3rtv", 3570, false},
        {"0123456789abcdef.session.Qw3rtw", 3630, true},
        {"0123456789abcdef.session.Qw3rtz", 7200, true},
        {"0123456789abcdef.session.3.Qw3rty", 7200, true},
        {"0123456789abcdef.session.previous.Qw3rty", 7200, false},
        {"notes.txt.Qw3rty", 7200, false},
        {current + ".lock.Qw3rty", 7200, false},
        {current + "-a1B2c3", 7200, false},
        {"x.a1B2c", 7200, false},
    };
    for (const auto& leftover : leftovers) {
        const std::string path = files.folder + "/" + leftover.name;
        std::ofstream(path) << "kavelto-session 2\nplacement /b";
        fs::last_write_time(path,
                            fs::file_time_type::clock::now() - std::chrono::seconds(leftover.age));
    }
    ProgramRun second(parts);
    second.load();
    for (const auto& leftover : leftovers)
        EXPECT_EQ(fs::exists(files.folder + "/" + leftover.name), !leftover.removed)
            << leftover.name;
}

// The calibration comes back only onto the picture file it was taken on, as Cal 1 found it: a
// file written over after calibrating, even within the same second and the same size, or with
// its old time put back, keeps the marks and the picture but drops the calibration, and says so.
// One written over after the session was kept is not shown again either.
TEST_F(SessionKeeping, RestoresACalibrationOnlyOntoItsOwnPicture) {
    using Change = std::function<void(const std::string&)>; // of the picture
    const Change asItIs = [](const std::string&) {};
    const auto overwrite = [](const char* bytes, bool keepTime) -> Change {
        return [bytes, keepTime](const std::string& path) {
            const fs::file_time_type time = fs::last_write_time(path);
            std::ofstream(path, std::ios::trunc) << bytes;
            if (keepTime)
                fs::last_write_time(path, time);
        };
    };
    const struct {
        const char* name;
        Change beforeKeeping; // after calibrating
        Change afterKeeping;
        bool shown;
        bool calibrated;
    } rows[] = {
        {"the same picture", asItIs, asItIs, true, true},
        {"another picture", overwrite("another picture, longer", false), asItIs, true, false},
        {"written over at the same size", overwrite("A picture's bytes", false), asItIs, true,
         false},
        {"written over, its time put back", overwrite("a picture's bytez", true), asItIs, true,
         false},
        {"written over after keeping", asItIs, overwrite("a picture's bytes, more", false), false,
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BoardFiles board;
        const std::string& picture = board.picture.path();
        {
            ProgramRun first(board.parts.path());
            first.load();
            first.showPicture(picture);
            first.calibratePair();
            row.beforeKeeping(picture);
            first.enter(2); // kept after the change: the picture's size and time as they are now
            first.keep();
        }
        row.afterKeeping(picture);
        ProgramRun second(board.parts.path());
        second.load();
        const SessionUpdate restored =
            second.session.restore(second.store.offered().value_or(KeptSession{}));
        const AssemblySession& s = second.session;
        EXPECT_EQ(std::make_tuple(s.keptState().placed, s.view().bitmapPath.has_value(),
                                  s.calibration().state),
                  std::make_tuple(std::vector<int>{2}, row.shown,
                                  row.calibrated ? CalState::CalibratedOk : CalState::None));
        EXPECT_EQ(restored.message,
                  row.calibrated ? std::nullopt
                                 : std::optional(Error("The picture " + picture +
                                                       " changed since it was calibrated: the "
                                                       "marks are back, the calibration is not. "
                                                       "Calibrate again.")));
    }
}

// Every session worth keeping stays available: loads that start afresh and are ignored push no
// marks out, and only the oldest beyond ten go. Run r places the parts of rows 0 to r % 4, after
// a load that ignores the offer; the offer is always the run before, the history the runs before
// it, newest first.
TEST_F(SessionKeeping, KeepsTheLastTenSessionsAndOffersThemAll) {
    ProgramRun run(parts);
    const auto placedIn = [](const std::vector<KeptSession>& sessions) {
        std::vector<std::size_t> counts(sessions.size());
        for (std::size_t i = 0; i < sessions.size(); ++i)
            counts[i] = sessions[i].placed.size();
        return counts;
    };
    std::vector<std::size_t> expected; // newest first
    for (int r = 0; r < 12; ++r) {
        SCOPED_TRACE(r);
        run.load(); // afresh, the offer ignored; the load's own session is the tenth
        EXPECT_EQ(placedIn(run.store.history()),
                  std::vector<std::size_t>(expected.begin(),
                                           expected.begin() + std::min<long>(expected.size(), 9)));
        for (int row = 0; row <= r % 4; ++row)
            run.enter(row);
        run.keep();
        expected.insert(expected.begin(), std::size_t(r % 4 + 1));
        expected.resize(std::min<std::size_t>(expected.size(), 10)); // this run's own first
        EXPECT_EQ(placedIn(run.store.history()),
                  std::vector<std::size_t>(expected.begin() + 1, expected.end()));
    }
    run.store.flush();
    for (int generation = 0; generation < 12; ++generation)
        EXPECT_EQ(fs::exists(run.store.generationPath(generation)), generation < 10) << generation;
    ProgramRun next(parts);
    run.store.closeFile();
    next.load();
    // Its load kept a session of its own, and the ten before it are nine now.
    EXPECT_EQ(placedIn(next.store.history()),
              std::vector<std::size_t>(expected.begin(), expected.end() - 1));
    EXPECT_EQ(next.store.offered().value_or(KeptSession{}).placed.size(), 4u); // run 11's
}

} // namespace
} // namespace kavelto

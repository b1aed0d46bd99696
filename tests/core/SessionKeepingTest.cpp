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
#include <pwd.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

constexpr PicturePoint kPressed{true, 100, 400};

// One run of the program: a session and its store over the state folder beside a placement
// file, or in the folder given, which keeps what each action changed. It counts the states the
// store asked for.
struct ProgramRun : SessionRig {
    explicit ProgramRun(const std::string& parts, const std::string& folder = "")
        : store(folder.empty() ? parts + ".state" : folder) {}
    void load(const std::string& path) {
        session.loadPlacementFile(path);
        EXPECT_TRUE(store.openFile(path).ok());
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
        std::ifstream in(store.currentPath());
        const std::string text(std::istreambuf_iterator<char>(in), {});
        const std::optional<KeptSession> kept = ParseKeptSession(text);
        return kept ? std::optional<int>(kept->selectedRow) : std::nullopt;
    }

    SessionStore store;
    int statesTaken = 0;
};

// Four parts on the top face, listed R1 to R4, and a picture.
struct BoardFiles {
    ~BoardFiles() { fs::remove_all(parts.path() + ".state"); }
    const TempFile parts{"Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                         "R2,1k,0603,60,70,0,top\nR3,1k,0603,35,45,0,top\n"
                         "R4,1k,0603,40,50,0,top\n"};
    const TempFile picture{"a picture's bytes"};
};

// Awkward values come back exactly; every other field comes back in
// RestoresWhatWasKeptForThisFileAsItIs. A text cut short anywhere, as by a crash, is refused.
TEST(KeptSessionText, RoundTripsAwkwardValuesAndRefusesDamage) {
    KeptSession kept;
    kept.placementPath = "/boards/a b\\c\nd.csv";
    kept.calibration.fit = {{11.9, -0.2, 100, 1e-300, -12.01, 95.5, 2.5e-5, -1e-6, 1}};
    kept.faceCount = 5000;
    kept.selectedRow = 4999;
    const std::string text = KeptSessionText(kept);
    const KeptSession back = ParseKeptSession(text).value_or(KeptSession{});
    EXPECT_EQ(std::tie(back.placementPath, back.calibration.fit.h, back.selectedRow),
              std::tie(kept.placementPath, kept.calibration.fit.h, kept.selectedRow));
    for (std::size_t cut = 0; cut < text.size() - 1; cut += 7)
        EXPECT_FALSE(ParseKeptSession(text.substr(0, cut)).has_value()) << cut;
}

// Every field of a kept session, written out by the test itself: two sessions that read the
// same here agree in everything kept.
std::string Described(const KeptSession& k) {
    std::ostringstream text;
    text.precision(17);
    const auto point = [&text](const CalPoint& p) {
        text << " (" << p.boardX << ' ' << p.boardY << ' ' << p.pixelX << ' ' << p.pixelY << ')';
    };
    text << k.placementPath << '|' << k.contentHash << '|' << k.savedAt << '|' << int(k.face) << '|'
         << int(k.sortMode) << '|' << k.pcbCount << '|' << k.viewRotation << '|' << k.mirrored
         << '|' << k.zoomBoxSize << '|';
    if (k.picture)
        text << k.picture->path << ' ' << k.picture->bytes << ' ' << k.picture->modifiedNs;
    const Calibration& c = k.calibration;
    text << '|' << int(c.state) << ' ' << int(c.pairState);
    point(c.point1);
    point(c.point2);
    if (c.pressedPoint2)
        point(*c.pressedPoint2);
    text << " added";
    for (const CalPoint& p : c.addedPoints)
        point(p);
    text << " fit";
    for (const double h : c.fit.h)
        text << ' ' << h;
    text << "|placed";
    for (const int index : k.placed)
        text << ' ' << index;
    text << '|' << k.selectedRow << '|' << k.placedOnFace << '|' << k.faceCount << "|pin 1";
    for (const KeptPinOne& p : k.pinOne)
        text << " (" << p.package << ' ' << p.quarterTurns << p.mirrored << p.hidden << ')';
    return text.str();
}

// One field of a kept session set apart from its default.
struct KeptField {
    const char* name;
    void (*set)(KeptSession&);
};

const KeptField kSessionFields[] = {
    {"face", [](KeptSession& k) { k.face = Face::Bottom; }},
    {"order", [](KeptSession& k) { k.sortMode = SortMode::PrefixPartId; }},
    {"PCB count", [](KeptSession& k) { k.pcbCount = 12; }},
    {"turn", [](KeptSession& k) { k.viewRotation = 270; }},
    {"mirror", [](KeptSession& k) { k.mirrored = true; }},
    {"zoom", [](KeptSession& k) { k.zoomBoxSize = 240; }},
    {"placed marks",
     [](KeptSession& k) {
         k.placed = {0, 2, 3};
         k.marks = {{"R1", Face::Top, "1k", "0603"},
                    {"R3", Face::Top, "1k", "0603"},
                    {"R4", Face::Bottom, "1k", "0603"}};
     }},
    {"selected row",
     [](KeptSession& k) {
         k.selectedRow = 2;
         k.faceCount = 3;
     }},
    {"calibration pair",
     [](KeptSession& k) {
         k.calibration.state = k.calibration.pairState = CalState::CalibratedFlipped;
         k.calibration.point1 = {10.5f, 20, 100, 400};
         k.calibration.point2 = {60, 30.25f, 200, 900};
     }},
    {"added points",
     [](KeptSession& k) {
         k.calibration.state = CalState::CalibratedOk;
         k.calibration.addedPoints = {{1, 2, 3, 4}, {5, 6, 7, 8}};
         k.calibration.fit = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
     }},
    {"added points after a pressed point 2",
     [](KeptSession& k) {
         k.calibration.state = CalState::CalibratedOk;
         k.calibration.pressedPoint2 = CalPoint{60, 70, 600, 900};
         k.calibration.addedPoints = {{1, 2, 3, 4}};
         k.calibration.fit = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
     }},
    {"fitted map",
     [](KeptSession& k) {
         k.calibration.fit = {{11.9, -0.2, 100, 1e-300, -12.01, 95.5, 2.5e-5, -1e-6, 1}};
     }},
};

// Each field comes back from the text as it went in; the path, hash, time, picture and progress
// only the text keeps, the session computes them.
TEST(KeptSessionText, EachFieldRoundTrips) {
    std::vector<KeptField> rows(std::begin(kSessionFields), std::end(kSessionFields));
    rows.push_back({"path, hash and time", [](KeptSession& k) {
                        k.placementPath = "/b/x.csv";
                        k.contentHash = 0xFEDCBA9876543210u;
                        k.savedAt = 1700000000;
                    }});
    rows.push_back({"picture", [](KeptSession& k) {
                        k.picture = KeptPicture{"/p q.jpg", 12, 34};
                    }});
    rows.push_back({"pin 1 corrections", [](KeptSession& k) {
                        k.pinOne = {{"SOT-23", 3, true, false}, {"LED \"red\"\t2", 0, false, true}};
                    }});
    rows.push_back({"progress", [](KeptSession& k) {
                        k.placedOnFace = 2;
                        k.faceCount = 146;
                        k.placed = {0, 1};
                        k.marks = {{"R1", Face::Top, "", ""}, {"R2", Face::Top, "", ""}};
                    }});
    for (const KeptField& row : rows) {
        KeptSession kept;
        row.set(kept);
        ASSERT_NE(Described(kept), Described(KeptSession{})) << row.name;
        const std::optional<KeptSession> back = ParseKeptSession(KeptSessionText(kept));
        EXPECT_EQ(back ? Described(*back) : "refused", Described(kept)) << row.name;
    }
}

// Each field the session restores is the session's afterwards, on four parts and an unchanged
// picture (the calibration holds only there).
TEST(SessionKeeping, RestoresEachField) {
    for (const KeptField& row : kSessionFields) {
        BoardFiles files;
        SessionRig rig;
        rig.loadText("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                     "R2,1k,0603,60,70,0,top\nR3,1k,0603,35,45,0,top\n"
                     "R4,1k,0603,40,50,0,bottom\n");
        rig.showPicture(files.picture.path());
        KeptSession kept = rig.session.keptState();
        kept.calibratedOn = CalibratedPictureNow(files.picture.path());
        row.set(kept);
        rig.session.restore(kept);
        KeptSession now = rig.session.keptState();
        now.placedOnFace = kept.placedOnFace; // counted afresh, on the face restored
        now.faceCount = kept.faceCount;
        EXPECT_EQ(Described(now), Described(kept)) << row.name;
    }
}

// Marks on both faces, the calibration, the picture, the face, order and count come back in a
// new run on the same file; the picture and calibration only while the picture is unchanged.
// There the restored calibration identifies parts: C1 lies at pixel (100, 400), C2 at (600, 900),
// and the reach is two marker boxes of 100 pixels. A part is found on either face by its whole
// designator in any case, and the face changes as the face buttons change it, calibration and all.
// A session kept for another path under this file's name is passed over (a damaged one is refused
// as in RoundTripsAwkwardValuesAndRefusesDamage). The marks cleared by mistake come back, and so
// do those of a run that forgot to restore: a session with nothing placed is never moved aside
// over them. A session kept before the file changed is passed over.
TEST(SessionKeeping, RestoresWhatWasKeptForThisFileAsItIs) {
    // R1 and R2 on top, C1 and C2 on the bottom; a direct pair of 0.1 board unit per pixel.
    const TempFile parts(
        "Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
        "R2,1k,0603,60,70,0,top\nC1,1u,0805,35,45,0,bottom\nC2,1u,0805,40,50,0,bottom\n");
    const TempFile picture("a picture's bytes");
    {
        ProgramRun first(parts.path());
        first.load(parts.path());
        first.enter(0);
        first.session.changeFace(Face::Bottom);
        first.showPicture(picture.path());
        first.calibratePair();
        first.enter(1);
        first.session.changeSort(2);
        EXPECT_TRUE(first.session.readPcbCount("12"));
        first.keep();
    } // closed without a word, as Esc closes
    ProgramRun second(parts.path());
    second.load(parts.path());
    KeptSession offer = second.store.offered().value_or(KeptSession{});
    EXPECT_EQ(RestoreCaption(offer).substr(0, 40), "Restore session (1 + 1 of 2 + 2 placed, ");
    AssemblySession& s = second.session;
    s.restore(offer);
    EXPECT_EQ(std::make_tuple(s.keptState().placed, s.face(), s.sortMode(), s.pcbCount(),
                              s.view().bitmapPath.has_value()),
              std::make_tuple(std::vector{0, 3}, Face::Bottom, SortMode::PrefixPartId, 12u, true));
    EXPECT_EQ(s.identifyPartAt({true, 560, 860}).reveal, 1); // with the calibration restored
    EXPECT_EQ(s.identifyPartAt({true, -110, 400}).reveal, std::nullopt);
    EXPECT_FALSE(s.findPart("R").has_value());
    EXPECT_EQ(s.findPart("r2").value_or(SessionUpdate()).reveal, 1); // R2, on the top face
    EXPECT_EQ(std::make_tuple(s.face(), s.calibration().state),
              std::make_tuple(Face::Top, CalState::None));
    offer.placementPath = "/elsewhere.csv";
    std::ofstream(second.store.currentPath(), std::ios::trunc) << KeptSessionText(offer);
    std::ofstream(second.store.previousPath(), std::ios::trunc) << KeptSessionText(offer);
    second.store.closeFile(); // lets the third run keep the board
    ProgramRun third(parts.path());
    third.load(parts.path());
    EXPECT_FALSE(third.store.offered().has_value());
    third.enter(1); // kept for this path again, and only its content differs from now on
    third.keep();
    third.store.startAfresh();
    third.session.unplaceAll();
    third.keep();
    third.load(parts.path()); // afresh: the marks stay on offer
    EXPECT_EQ(third.store.offered().value_or(KeptSession{}).placed, std::vector<int>{1});
    std::ofstream(parts.path(), std::ios::app) << "R3,1k,0603,1,2,0,top\n";
    third.load(parts.path());
    EXPECT_FALSE(third.store.offered().has_value());
    std::ofstream(picture.path(), std::ios::app) << "more";
    third.session.restore(offer);
    EXPECT_EQ(std::make_tuple(third.session.view().bitmapPath.has_value(),
                              third.session.calibration().state),
              std::make_tuple(false, CalState::None));
    std::filesystem::remove_all(parts.path() + ".state"); // made by the store
}

// The offer counts both faces, top first, where the session counted them; one kept before, the
// face it showed. The progress survives the text.
TEST(SessionKeeping, RestoreCaptionCountsBothFaces) {
    struct Row {
        std::optional<FaceProgress> faces;
        const char* caption;
    };
    const Row rows[] = {
        {FaceProgress{3, 0, 146, 14}, "Restore session (3 + 0 of 146 + 14 placed, "},
        {FaceProgress{0, 14, 146, 14}, "Restore session (0 + 14 of 146 + 14 placed, "},
        {std::nullopt, "Restore session (5 of 14 placed, "},
    };
    for (const Row& row : rows) {
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
        EXPECT_EQ(caption.substr(0, std::string(row.caption).size()), row.caption);
        EXPECT_EQ(caption.size(), std::string(row.caption).size() + 6); // "14:02)"
    }
}

// Each command that changes what is kept writes once; one that changes nothing writes nothing,
// and its state is not even taken. Row 0 is selected after the load; the picture is drawn.
TEST(SessionKeeping, WritesOnceForEachChangeAndNeverForNone) {
    struct Case {
        const char* name;
        std::function<void(ProgramRun&)> command;
        std::optional<int> keptRow; // the selected row written, or nothing when nothing is
    };
    const std::vector<Case> cases = {
        {"Down moves the selection", [](ProgramRun& r) { r.session.navigate(NavigationKey::Down); },
         1},
        {"End moves the selection", [](ProgramRun& r) { r.session.navigate(NavigationKey::End); },
         3},
        {"Up on the first row", [](ProgramRun& r) { r.session.navigate(NavigationKey::Up); },
         std::nullopt},
        {"click on another row", [](ProgramRun& r) { r.click(2); }, 2},
        {"click on the selected row", [](ProgramRun& r) { r.click(0); }, std::nullopt},
        {"Enter places and steps on", [](ProgramRun& r) { r.enter(0); }, 1},
        {"press on the picture", [](ProgramRun& r) { r.session.pressOnPicture(kPressed); },
         std::nullopt},
        {"drag and release", [](ProgramRun& r) { r.dragFrom(kPressed); }, std::nullopt},
        {"frame resized", [](ProgramRun& r) { r.session.setFrameSize(800, 600); }, std::nullopt},
        {"Top while the top is shown", [](ProgramRun& r) { r.session.changeFace(Face::Top); },
         std::nullopt},
        {"the order in force chosen", [](ProgramRun& r) { r.session.changeSort(0); }, std::nullopt},
        {"another order", [](ProgramRun& r) { r.session.changeSort(2); }, 0},
        {"zoom in", [](ProgramRun& r) { r.session.zoomIn(); }, 0},
        {"turn", [](ProgramRun& r) { r.session.rotateLeft(); }, 0},
        {"flip", [](ProgramRun& r) { r.session.flip(); }, 0},
        {"the same PCB count read", [](ProgramRun& r) { r.session.readPcbCount("1"); },
         std::nullopt},
        {"a new PCB count", [](ProgramRun& r) { r.session.readPcbCount("12"); }, 0},
        {"Cal 1", [](ProgramRun& r) { r.session.cal1(); }, 0},
        {"unplace all", [](ProgramRun& r) { r.session.unplaceAll(); }, 0},
    };
    const BoardFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run(files.parts.path());
        run.load(files.parts.path());
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

// A store that goes writes what was kept last, however fast it came; the next run offers it
// while it changes things, and restores the selected row with the rest (a placed part makes the
// session worth offering).
TEST(SessionKeeping, KeepsTheLastStateWhenTheStoreGoesAndRestoresItsRow) {
    const BoardFiles files;
    {
        ProgramRun first(files.parts.path());
        first.load(files.parts.path());
        first.enter(0);
        first.keep();
        for (const NavigationKey key : {NavigationKey::End, NavigationKey::Up, NavigationKey::Home,
                                        NavigationKey::Down, NavigationKey::Down}) {
            first.session.navigate(key);
            first.keep();
        }
    }
    ProgramRun second(files.parts.path());
    second.load(files.parts.path());
    const KeptSession offer = second.store.offered().value_or(KeptSession{});
    EXPECT_EQ(offer.selectedRow, 2);
    second.enter(0); // to row 1
    second.keep();
    second.session.navigate(NavigationKey::End);
    second.keep();
    EXPECT_EQ(second.store.offered().value_or(KeptSession{}).selectedRow, 2); // still the first's
    EXPECT_EQ(std::make_tuple(second.session.restore(offer).reveal, second.session.selection().row),
              std::make_tuple(std::optional(2), std::optional(2)));
}

// The first failed write is told once, naming the folder and the reason; the same failure again
// stays quiet, another reason is told, and after a write that succeeds a failure is told again.
TEST(SessionKeeping, TellsTheFirstFailedWriteOnce) {
    const BoardFiles files;
    const std::string folder = files.parts.path() + ".state";
    const auto brokenBy = [&](const char* what) {
        return [&folder, what] {
            fs::remove_all(folder);
            if (std::string(what) == "file")
                std::ofstream(folder) << "in the way";
            else
                fs::create_directory_symlink("/tmp", folder);
        };
    };
    const auto mended = [&] { fs::remove_all(folder); };
    const auto cantKeep = [&](const std::string& reason) {
        return UserMessage{"Can't keep the session in " + folder + ": " + reason, "Error",
                           MessageButtons::Ok, MessageIcon::Stop};
    };
    struct Step {
        const char* name;
        std::function<void()> change;
        std::optional<UserMessage> told;
    };
    const std::vector<Step> steps = {
        {"written", [] {}, std::nullopt},
        {"folder replaced by a file", brokenBy("file"), cantKeep("Not a directory")},
        {"still a file", [] {}, std::nullopt},
        {"a link instead", brokenBy("link"), cantKeep("A link, not a folder")},
        {"folder made again", mended, std::nullopt},
        {"a file again", brokenBy("file"), cantKeep("Not a directory")},
    };
    ProgramRun run(files.parts.path());
    run.load(files.parts.path());
    for (const Step& step : steps) {
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

// One store at a time keeps a placement file: a second one, here in the same process, is told
// and writes nothing, and offers nothing; once the first lets go, a new one keeps the file. The
// store that holds it opens it again at will.
TEST(SessionKeeping, KeepsABoardInOneStoreAtATime) {
    const BoardFiles files;
    const std::string parts = files.parts.path();
    const UserMessage elsewhere{
        "This board is open in another window: this window keeps nothing of it.", "Kavelto",
        MessageButtons::Ok, MessageIcon::Exclamation};
    auto first = std::make_unique<ProgramRun>(parts);
    first->load(parts);
    first->load(parts); // loading the board again keeps its lock
    EXPECT_TRUE(first->store.openFile(parts).ok());
    fs::remove(first->store.currentPath());
    first->keep(); // a file opened anew is written, though the session did not move
    EXPECT_EQ(first->keptRow(), 0);
    ProgramRun second(parts);
    second.session.loadPlacementFile(parts);
    const Result<void> refused = second.store.openFile(parts);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure(), elsewhere);
    fs::remove(second.store.currentPath());
    second.session.navigate(NavigationKey::Down);
    second.keep();
    EXPECT_EQ(std::make_tuple(second.keptRow(), second.statesTaken, second.store.offered()),
              std::make_tuple(std::nullopt, 0, std::nullopt));
    first->store.closeFile();
    EXPECT_TRUE(second.store.openFile(parts).ok());
    second.store.closeFile();
    first.reset();
    ProgramRun third(parts);
    third.load(parts);
    EXPECT_EQ(third.keptRow(), 0);
}

// Where no lock can be had (here a folder stands where the lock file goes), the load says so and
// the board is kept all the same.
TEST(SessionKeeping, SaysSoWhenNoLockCanBeHadAndKeepsAllTheSame) {
    const BoardFiles files;
    const std::string parts = files.parts.path();
    ProgramRun run(parts);
    run.load(parts);
    run.store.closeFile();
    const std::string lock = run.store.currentPath() + ".lock";
    fs::remove(lock);
    fs::create_directory(lock);
    fs::remove(run.store.currentPath());
    const Result<void> opened = run.store.openFile(parts);
    ASSERT_FALSE(opened.ok());
    const UserMessage& told = opened.failure();
    EXPECT_EQ(told.text, "Can't lock " + lock + ": " + std::strerror(EISDIR) +
                             ". The session is kept, but another window on this board could "
                             "overwrite it.");
    EXPECT_EQ(told.icon, MessageIcon::Exclamation);
    run.keep();
    EXPECT_EQ(run.keptRow(), 0);
}

// A placement file gone between its load and its keeping is said to keep nothing.
TEST(SessionKeeping, SaysSoWhenThePlacementFileCannotBeReadAgain) {
    const BoardFiles files;
    const std::string parts = files.parts.path();
    const std::string moved = parts + ".moved";
    ProgramRun run(parts);
    run.session.loadPlacementFile(parts);
    fs::rename(parts, moved);
    const Result<void> opened = run.store.openFile(parts);
    fs::rename(moved, parts);
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.failure().text,
              "Can't read " + parts + " again to keep its session: nothing of this board is kept.");
    run.keep();
    EXPECT_EQ(run.keptRow(), std::nullopt);
}

// A kept session damaged on the disk is named once in a box and never applied: the one before it
// is offered instead, and stays on the disk while the next changes are kept.
TEST(SessionKeeping, PassesOverADamagedSessionForTheOneBefore) {
    const BoardFiles files;
    const std::string parts = files.parts.path();
    std::string current;
    {
        ProgramRun first(parts);
        first.load(parts);
        first.enter(0); // R1 placed
        first.keep();
        first.store.startAfresh();
        first.enter(std::nullopt); // R2 placed as well, R1's session moved aside
        first.keep();
        current = first.store.currentPath();
    }
    std::string text;
    {
        std::ifstream in(current);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::size_t marks = text.find("\nplaced 2 0 1\n");
    ASSERT_NE(marks, std::string::npos) << text;
    text[marks + 12] = '2'; // the marks of R1 and R3
    std::ofstream(current, std::ios::trunc) << text;
    ProgramRun second(parts);
    second.load(parts);
    const UserMessage damaged{"The kept session " + second.store.currentPath() +
                                  " is damaged and was not used",
                              "Error", MessageButtons::Ok, MessageIcon::Stop};
    EXPECT_EQ(second.store.takeDamaged(), std::vector<UserMessage>{damaged});
    EXPECT_EQ(second.store.offered().value_or(KeptSession{}).placed, std::vector<int>{0});
    EXPECT_TRUE(fs::exists(second.store.previousPath()));
    std::ofstream(second.store.currentPath(), std::ios::trunc) << text;
    second.store.closeFile();
    second.load(parts);
    EXPECT_EQ(second.store.takeDamaged(), std::vector<UserMessage>{}); // named once a run
    EXPECT_EQ(second.store.offered().value_or(KeptSession{}).placed, std::vector<int>{0});
}

// A folder where nothing can be kept is told when the file is loaded, before anything is
// placed, and nothing is offered; a folder others may write to is made the user's alone, and one
// of another user is left as it is. Giving a folder away takes root: without it, the root
// folder stands for another user's.
TEST(SessionKeeping, TellsAFolderThatCantKeepAtTheLoad) {
    const BoardFiles files;
    const std::string parts = files.parts.path();
    const std::string state = parts + ".state";
    const bool root = ::geteuid() == 0;
    const struct {
        const char* name;
        std::function<void()> make;
        std::string folder;
        std::string reason; // empty when the folder keeps
    } rows[] = {
        {"a file in the way", [&] { std::ofstream(state) << "in the way"; }, state,
         "Not a directory"},
        {"a link", [&] { fs::create_directory_symlink(fs::temp_directory_path(), state); }, state,
         "A link, not a folder"},
        {"another user's folder",
         [&] {
             fs::create_directory(state);
             fs::permissions(state, fs::perms::owner_all | fs::perms::group_all);
             ASSERT_EQ(::chown(state.c_str(), 65534, 65534), 0);
         },
         root ? state : "/", "Owned by another user"},
        {"a folder others may write to",
         [&] {
             fs::create_directory(state);
             fs::permissions(state, fs::perms::all);
         },
         state, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(state);
        if (row.folder == state)
            row.make();
        const fs::file_status before = fs::symlink_status(row.folder);
        struct stat owner {};
        ASSERT_EQ(::lstat(row.folder.c_str(), &owner), 0);
        ProgramRun run(parts, row.folder);
        run.session.loadPlacementFile(parts);
        const Result<void> opened = run.store.openFile(parts);
        EXPECT_EQ(opened ? "" : opened.failure().text,
                  row.reason.empty()
                      ? ""
                      : "Can't keep the session in " + row.folder + ": " + row.reason);
        if (row.reason.empty()) {
            EXPECT_EQ(fs::status(state).permissions(), fs::perms::owner_all);
            continue;
        }
        EXPECT_FALSE(run.store.offered().has_value());
        struct stat after {};
        ASSERT_EQ(::lstat(row.folder.c_str(), &after), 0);
        EXPECT_EQ(std::make_tuple(fs::symlink_status(row.folder).permissions(), after.st_uid),
                  std::make_tuple(before.permissions(), owner.st_uid));
    }
    fs::remove_all(state);
}

// The folder of the kept sessions by the environment: XDG_STATE_HOME when it names a folder by its
// whole path, else HOME, else the home folder of the user database (the "passwd" entry), as for a
// program started by a service without HOME.
TEST(SessionKeeping, FindsTheStateFolderWithoutHome) {
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
TEST(SessionKeeping, RemovesTheLeftoversOfWritesCutShort) {
    const BoardFiles files;
    const std::string parts = files.parts.path();
    const std::string folder = parts + ".state";
    std::string current;
    {
        ProgramRun first(parts);
        first.load(parts);
        current = fs::path(first.store.currentPath()).filename().string();
    }
    struct Leftover {
        std::string name;
        bool old;
        bool removed;
    };
    const std::vector<Leftover> leftovers = {
        {current + ".a1B2c3", false, true},
        {current + ".1.Zz09Aa", false, true},
        {current + ".9.Zz09Ab", false, true},
        {"0123456789abcdef.session.Qw3rty", false, false},
        {"0123456789abcdef.session.Qw3rtz", true, true},
        {"0123456789abcdef.session.3.Qw3rty", true, true},
        {"0123456789abcdef.session.previous.Qw3rty", true, false},
        {"notes.txt.Qw3rty", true, false},
        {current + ".lock.Qw3rty", true, false},
        {current + "-a1B2c3", true, false},
        {"x.a1B2c", true, false},
    };
    for (const Leftover& leftover : leftovers) {
        std::ofstream(folder + "/" + leftover.name) << "kavelto-session 2\nplacement /b";
        if (leftover.old)
            fs::last_write_time(folder + "/" + leftover.name,
                                fs::file_time_type::clock::now() - std::chrono::hours(2));
    }
    ProgramRun second(parts);
    second.load(parts);
    for (const Leftover& leftover : leftovers)
        EXPECT_EQ(fs::exists(folder + "/" + leftover.name), !leftover.removed) << leftover.name;
}

// The calibration comes back only onto the picture file it was taken on, as Cal 1 found it: a
// file written over after calibrating, even within the same second and the same size, or with
// its old time put back, keeps the marks and the picture but drops the calibration, and says so.
TEST(SessionKeeping, RestoresACalibrationOnlyOntoItsOwnPicture) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> change; // the picture, after calibrating
        bool calibrated;
    };
    const auto overwrite = [](const char* bytes, bool keepTime) {
        return [bytes, keepTime](const std::string& path) {
            const fs::file_time_type time = fs::last_write_time(path);
            std::ofstream(path, std::ios::trunc) << bytes;
            if (keepTime)
                fs::last_write_time(path, time);
        };
    };
    const std::vector<Case> cases = {
        {"the same picture", [](const std::string&) {}, true},
        {"another picture", overwrite("another picture, longer", false), false},
        {"written over at the same size", overwrite("A picture's bytes", false), false},
        {"written over, its time put back", overwrite("a picture's bytez", true), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BoardFiles files;
        const std::string parts = files.parts.path();
        {
            ProgramRun first(parts);
            first.load(parts);
            first.showPicture(files.picture.path());
            first.calibratePair();
            c.change(files.picture.path());
            first.enter(2); // kept after the change: the picture's size and time as they are now
            first.keep();
        }
        ProgramRun second(parts);
        second.load(parts);
        const SessionUpdate restored =
            second.session.restore(second.store.offered().value_or(KeptSession{}));
        const AssemblySession& s = second.session;
        EXPECT_EQ(std::make_tuple(s.keptState().placed, s.view().bitmapPath.has_value(),
                                  s.calibration().state),
                  std::make_tuple(std::vector<int>{2}, true,
                                  c.calibrated ? CalState::CalibratedOk : CalState::None));
        const std::optional<UserMessage> told =
            c.calibrated ? std::nullopt
                         : std::optional(ErrorMessage(
                               "The picture " + files.picture.path() +
                               " changed since it was calibrated: the marks are back, the "
                               "calibration is not. Calibrate again."));
        EXPECT_EQ(restored.message, told);
    }
}

// Every session worth keeping stays available: loads that start afresh and are ignored push no
// marks out, and only the oldest beyond ten go. Run r places the parts of rows 0 to r % 4, after
// a load that ignores the offer; the offer is always the run before, the history the runs before
// it, newest first.
TEST(SessionKeeping, KeepsTheLastTenSessionsAndOffersThemAll) {
    const BoardFiles files;
    const std::string parts = files.parts.path();
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
        run.load(parts); // afresh, the offer ignored; the load's own session is the tenth
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
    next.load(parts);
    // Its load kept a session of its own, and the ten before it are nine now.
    EXPECT_EQ(placedIn(next.store.history()),
              std::vector<std::size_t>(expected.begin(), expected.end() - 1));
    EXPECT_EQ(next.store.offered().value_or(KeptSession{}).placed.size(), 4u); // run 11's
}

} // namespace
} // namespace kavelto

#include "PartColumns.h"
#include "SessionRig.h"
#include "SessionStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kavelto {
namespace {

// One run of the program: a session and its store over one state folder, which keeps what
// each action changed.
struct ProgramRun : SessionRig {
    explicit ProgramRun(const std::string& folder) : store(folder) {}
    void load(const std::string& path) {
        session.loadPlacementFile(path);
        store.openFile(path);
        keep();
    }
    void keep() {
        store.keep(session.keptState());
        store.flush();
    }
    void enter(int row) {
        SessionRig::enter(row);
        keep();
    }
    void calibrate(const std::string& picture) {
        showPicture(picture);
        calibratePair();
        keep();
    }
    std::vector<int> placed() const { return session.keptState().placed; }
    std::vector<int> offered() const {
        return store.offered() ? store.offered()->placed : std::vector<int>{-1};
    }

    SessionStore store;
};

class SessionKeeping : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kavelto-state-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = std::string(pattern) + "/state";
    }
    void TearDown() override { std::filesystem::remove_all(folder.substr(0, folder.rfind('/'))); }

    std::string folder;
    // R1 and R2 on top, C1 and C2 on the bottom; a direct pair of 0.1 board unit per pixel.
    TempFile parts{
        "Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
        "R2,1k,0603,60,70,0,top\nC1,1u,0805,35,45,0,bottom\nC2,1u,0805,40,50,0,bottom\n"};
    TempFile picture{"a picture's bytes"};
};

// Awkward values come back exactly; every other field comes back in RestoresEverythingInANewRun.
TEST(KeptSessionText, RoundTripsAwkwardValuesAndRefusesDamage) {
    KeptSession kept;
    kept.placementPath = "/boards/a b\\c\nd.csv";
    kept.contentHash = 0xfedcba9876543210ull;
    kept.picture = KeptPicture{"/pictures/top 1.jpg", 436258, 1796000000123456789};
    kept.calibration.point2 = {1e-7f, 3.4e38f, -5, 2147483647};
    kept.calibration.addedPoints = {{10.1f, -20.25f, 100, 400}};
    kept.calibration.fit = {{11.9, -0.2, 100, 1e-300, -12.01, 95.5, 2.5e-5, -1e-6, 1}};
    const std::string text = KeptSessionText(kept);
    const std::optional<KeptSession> back = ParseKeptSession(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(KeptSessionText(*back), text);
    EXPECT_EQ(std::tie(back->placementPath, back->contentHash, back->picture),
              std::tie(kept.placementPath, kept.contentHash, kept.picture));
    EXPECT_EQ(std::tie(back->calibration.point2.boardY, back->calibration.addedPoints[0].boardX,
                       back->calibration.fit.h),
              std::tie(kept.calibration.point2.boardY, kept.calibration.addedPoints[0].boardX,
                       kept.calibration.fit.h));
    for (std::size_t cut = 0; cut < text.size() - 1; cut += 7)
        EXPECT_FALSE(ParseKeptSession(text.substr(0, cut)).has_value()) << cut;
    std::string later = text;
    later.replace(later.find(" 1\n"), 3, " 2\n");
    EXPECT_FALSE(ParseKeptSession(later).has_value());
}

// Marks on both faces, the calibration, the view, the face, order and count come back in a
// new run on the same file; the picture and calibration only while the picture is unchanged.
TEST_F(SessionKeeping, RestoresEverythingInANewRun) {
    {
        ProgramRun first(folder);
        first.load(parts.path());
        first.enter(0);
        first.session.changeFace(Face::Bottom);
        first.calibrate(picture.path());
        first.enter(1);
        first.session.rotateRight();
        first.session.flip();
        first.session.zoomIn();
        first.session.changeSort(2);
        ASSERT_TRUE(first.session.readPcbCount("12"));
        first.keep();
    } // closed without a word, as Esc closes
    for (const bool pictureChanged : {false, true}) {
        SCOPED_TRACE(pictureChanged ? "picture changed" : "picture as it was");
        if (pictureChanged)
            std::ofstream(picture.path(), std::ios::app) << "more";
        ProgramRun second(folder);
        second.load(parts.path());
        ASSERT_TRUE(second.store.offered().has_value());
        const std::string caption = RestoreCaption(*second.store.offered());
        EXPECT_EQ(caption.substr(0, 32), "Restore session (1 of 2 placed, ") << caption;
        second.session.restore(*second.store.offered());
        const AssemblySession& s = second.session;
        EXPECT_EQ(std::make_tuple(second.placed(), s.face(), s.sortMode(), s.pcbCount(),
                                  s.view().viewRotation, s.view().mirrored, s.view().zoomBoxSize),
                  std::make_tuple(std::vector<int>{0, 3}, Face::Bottom, SortMode::PrefixPartId, 12u,
                                  90, true, 76));
        EXPECT_EQ(std::make_tuple(s.view().bitmapLoaded, s.calibration().state),
                  std::make_tuple(!pictureChanged,
                                  pictureChanged ? CalState::None : CalState::CalibratedOk));
    }
}

// The kept file is replaced whole: a crash while writing leaves a stray temporary, never a
// cut file; a damaged file, or one kept for another path under this file's name, is passed over
// and then overwritten. A changed placement file offers nothing.
TEST_F(SessionKeeping, SurvivesCrashesAndDamage) {
    ProgramRun first(folder);
    first.load(parts.path());
    first.enter(0);
    std::ofstream(first.store.currentPath() + ".Xk3j9a") << "kavelto-session 1\nplacement /x";
    ProgramRun second(folder);
    second.load(parts.path());
    EXPECT_EQ(second.offered(), std::vector<int>{0});
    KeptSession foreign = *second.store.offered();
    foreign.placementPath = "/elsewhere.csv";
    for (const std::string& damage : {std::string("\x01\xff garbage"), KeptSessionText(foreign)}) {
        std::ofstream(second.store.currentPath(), std::ios::trunc) << damage;
        std::ofstream(second.store.previousPath(), std::ios::trunc) << damage;
        ProgramRun third(folder);
        third.load(parts.path());
        EXPECT_FALSE(third.store.offered().has_value());
        third.enter(1);
        std::ifstream written(third.store.currentPath());
        EXPECT_TRUE(ParseKeptSession({std::istreambuf_iterator<char>(written), {}}).has_value());
    }
    std::ofstream(parts.path(), std::ios::app) << "R3,1k,0603,1,2,0,top\n";
    ProgramRun changed(folder);
    changed.load(parts.path());
    EXPECT_FALSE(changed.store.offered().has_value());
}

// The marks cleared by mistake come back, and so do those of a run that forgot to restore.
TEST_F(SessionKeeping, UnplaceAllAndAFreshStartCanBeUndone) {
    ProgramRun run(folder);
    run.load(parts.path());
    run.enter(0);
    run.store.startAfresh();
    run.session.unplaceAll();
    run.keep();
    EXPECT_EQ(run.offered(), std::vector<int>{0});
    run.session.restore(*run.store.offered());
    EXPECT_EQ(run.placed(), std::vector<int>{0});
    run.load(parts.path()); // afresh, twice: the marks stay on offer
    run.load(parts.path());
    EXPECT_EQ(run.offered(), std::vector<int>{0});
}

// Found on either face by the whole designator in any case. R1 lies at pixel (100, 400), R2 at
// (600, 900); the reach of identifying is two marker boxes of 100 pixels.
TEST_F(SessionKeeping, FindsAndIdentifiesParts) {
    ProgramRun run(folder);
    run.load(parts.path());
    AssemblySession& s = run.session;
    EXPECT_EQ(s.designators(), (std::vector<std::string>{"R1", "R2", "C1", "C2"}));
    EXPECT_FALSE(s.findPart("R").has_value());
    EXPECT_FALSE(s.findPart("R12").has_value());
    ASSERT_TRUE(s.findPart("c2").has_value());
    EXPECT_EQ(std::make_tuple(s.face(), DesignatorText(s.partAtRow(s.selection().selectedRow)),
                              s.highlightedRow()),
              std::make_tuple(Face::Bottom, "C2", std::optional(s.selection().selectedRow)));
    s.changeFace(Face::Top);
    EXPECT_EQ(s.identifyPartAt({true, 100, 400}).reveal, kNoRow); // not calibrated
    run.calibrate(picture.path());
    const struct {
        float x, y;
        int row;
    } cases[] = {
        {110, 390, 0}, {560, 860, 1}, {300, 600, kNoRow}, {-90, 400, 0}, {-110, 400, kNoRow}};
    for (const auto& c : cases) {
        s.setHighlightedRow(std::nullopt);
        EXPECT_EQ(s.identifyPartAt({true, c.x, c.y}).reveal, c.row) << c.x << ", " << c.y;
    }
}

} // namespace
} // namespace kavelto

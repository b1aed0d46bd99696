#include "SessionRig.h"
#include "keeping/SessionStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kavelto {
namespace {

// One run of the program: a session and its store over the state folder beside a placement
// file, which keeps what each action changed.
struct ProgramRun : SessionRig {
    explicit ProgramRun(const std::string& parts) : store(parts + ".state") {}
    void load(const std::string& path) {
        session.loadPlacementFile(path);
        store.openFile(path);
        keep();
        store.flush(); // before the test touches the kept files; opening a file flushes too
    }
    void keep() { store.keep(session.keptState()); }

    SessionStore store;
};

// Awkward values come back exactly; every other field comes back in
// RestoresWhatWasKeptForThisFileAsItIs. A text cut short anywhere, as by a crash, is refused.
TEST(KeptSessionText, RoundTripsAwkwardValuesAndRefusesDamage) {
    KeptSession kept;
    kept.placementPath = "/boards/a b\\c\nd.csv";
    kept.calibration.fit = {{11.9, -0.2, 100, 1e-300, -12.01, 95.5, 2.5e-5, -1e-6, 1}};
    const std::string text = KeptSessionText(kept);
    const KeptSession back = ParseKeptSession(text).value_or(KeptSession{});
    EXPECT_EQ(std::tie(back.placementPath, back.calibration.fit.h),
              std::tie(kept.placementPath, kept.calibration.fit.h));
    for (std::size_t cut = 0; cut < text.size() - 1; cut += 7)
        EXPECT_FALSE(ParseKeptSession(text.substr(0, cut)).has_value()) << cut;
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
    EXPECT_EQ(RestoreCaption(offer).substr(0, 32), "Restore session (1 of 2 placed, ");
    AssemblySession& s = second.session;
    s.restore(offer);
    EXPECT_EQ(std::make_tuple(s.keptState().placed, s.face(), s.sortMode(), s.pcbCount(),
                              s.view().bitmapPath.has_value()),
              std::make_tuple(std::vector{0, 3}, Face::Bottom, SortMode::PrefixPartId, 12u, true));
    EXPECT_EQ(s.identifyPartAt({true, 560, 860}).reveal, 1); // with the calibration restored
    EXPECT_EQ(s.identifyPartAt({true, -110, 400}).reveal, kNoRow);
    EXPECT_FALSE(s.findPart("R").has_value());
    EXPECT_EQ(s.findPart("r2").value_or(SessionUpdate{}).reveal, 1); // R2, on the top face
    EXPECT_EQ(std::make_tuple(s.face(), s.calibration().state),
              std::make_tuple(Face::Top, CalState::None));
    offer.placementPath = "/elsewhere.csv";
    std::ofstream(second.store.currentPath(), std::ios::trunc) << KeptSessionText(offer);
    std::ofstream(second.store.previousPath(), std::ios::trunc) << KeptSessionText(offer);
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

} // namespace
} // namespace kavelto

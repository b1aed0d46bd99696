#include "SessionRig.h"
#include "keeping/KeptSession.h"

#include <gtest/gtest.h>

#include <functional>

namespace kavelto {
namespace {

// Two parts on each face and a picture of each; every step as the user takes it, and then the
// face, the picture shown and the calibration's state written out by hand. The
// pair on either face is pressed at pixels (100, 400) and (600, 900).
struct FaceStep {
    const char* name;
    std::function<void(SessionRig&, const std::string& top, const std::string& bottom)> step;
    Face face;
    const char* picture; // "top", "bottom" or "none"
    CalState state;
};

void Calibrate(SessionRig& rig, const std::string& picture) {
    rig.showPicture(picture);
    rig.calibratePair();
    rig.click(0); // the first row located
}

const FaceStep kSteps[] = {
    {"top calibrated", [](SessionRig& r, auto& top, auto&) { Calibrate(r, top); }, Face::Top, "top",
     CalState::CalibratedOk},
    {"bottom never calibrated: out of calibration",
     [](SessionRig& r, auto&, auto&) { r.session.changeFace(Face::Bottom); }, Face::Bottom, "top",
     CalState::None},
    {"bottom calibrated on its own picture",
     [](SessionRig& r, auto&, auto& bottom) { Calibrate(r, bottom); }, Face::Bottom, "bottom",
     CalState::CalibratedOk},
    {"back to the top: its picture and calibration",
     [](SessionRig& r, auto&, auto&) { r.session.changeFace(Face::Top); }, Face::Top, "top",
     CalState::CalibratedOk},
    {"and to the bottom again",
     [](SessionRig& r, auto&, auto&) { r.session.changeFace(Face::Bottom); }, Face::Bottom,
     "bottom", CalState::CalibratedOk},
    {"kept and restored, other face too",
     [](SessionRig& r, auto&, auto&) {
         const std::optional<KeptSession> kept =
             ParseKeptSession(KeptSessionText(r.session.keptState()));
         ASSERT_TRUE(kept && kept->otherFace);
         r.session.changeFace(Face::Top);
         r.session.loadBitmap(std::nullopt);
         r.session.restore(*kept);
         r.session.changeFace(Face::Top);
     },
     Face::Top, "top", CalState::CalibratedOk},
    {"a face left half calibrated is forgotten",
     [](SessionRig& r, auto&, auto&) {
         r.click(0);
         r.session.pressOnPicture({true, 100, 400});
         r.session.cal1();
         r.session.changeFace(Face::Bottom);
         r.session.changeFace(Face::Top);
     },
     Face::Top, "bottom", CalState::None},
    {"a new placement file forgets both",
     [](SessionRig& r, auto&, auto&) {
         r.loadText("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                    "C1,1u,0805,50,60,0,bottom\n");
         r.session.changeFace(Face::Bottom);
     },
     Face::Bottom, "bottom", CalState::None},
};

TEST(FaceMemory, EachFaceKeepsItsPictureAndCalibration) {
    SessionRig rig;
    rig.loadText("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                 "R2,1k,0603,60,70,0,top\nC1,1u,0805,15,25,0,bottom\n"
                 "C2,1u,0805,65,75,0,bottom\n");
    const TempFile top("the top face's bytes"), bottom("the bottom face's bytes");
    for (const FaceStep& step : kSteps) {
        SCOPED_TRACE(step.name);
        step.step(rig, top.path(), bottom.path());
        const ViewState& view = rig.session.view();
        const std::string shown = !view.bitmapPath                 ? "none"
                                  : *view.bitmapPath == top.path() ? "top"
                                                                   : "bottom";
        EXPECT_EQ(rig.session.face(), step.face);
        EXPECT_EQ(shown, step.picture);
        EXPECT_EQ(rig.session.calibration().state, step.state);
        // A calibrated face shows its selected part located at once, and its session keeps the
        // picture it was calibrated on.
        if (IsCalibrated(step.state)) {
            EXPECT_TRUE(view.marker && view.marker->mode == MarkerMode::PartLocated);
            const std::optional<CalibratedPicture> on = rig.session.keptState().calibratedOn;
            EXPECT_TRUE(on && view.bitmapPath && on->file.path == *view.bitmapPath);
        }
    }
}

} // namespace
} // namespace kavelto

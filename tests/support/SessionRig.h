#pragma once

#include "TempFile.h"
#include "session/AssemblySession.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kavelto {

// The name row of the rig's column layout.
const std::string kHeader = "Ref,Val,Package,PosX,PosY,Rot,Side\n";

// Q1 to Q6; sorted by prefix and number, items 1, 1, 1, 2, 3, 4.
const std::string kKinds =
    kHeader + "Q1,BC847,SOT23,1,1,0,top\nQ2,BC847,SOT23,2,1,0,top\nQ3,BC847,SOT23,3,1,0,top\n"
              "Q4,BC857,SOT23,4,1,0,top\nQ5,LM358,SOIC8,5,1,0,top\nQ6,BC847,SOT23,6,1,0,top\n";

// The text of the update's message box, or "" when it shows none.
inline std::string Said(const SessionUpdate& u) {
    return u.message ? u.message->text : "";
}

// A session under the column layout Ref,Val,Package,PosX,PosY,Rot,Side, driven as the user
// drives the window.
struct SessionRig {
    SessionRig() {
        EXPECT_TRUE(session.loadColumnMap(TempFile("1\n,\n1,5,6,3,4,7,2\n").path()).ok());
    }
    SessionUpdate loadText(const std::string& csv) {
        return session.loadPlacementFile(TempFile(csv).path());
    }
    SessionUpdate click(int row) {
        session.setHighlightedRow(row);
        return session.LocateSelectedPart();
    }
    // Enter on row, or with no row on the row the list highlights, if any.
    SessionUpdate enter(std::optional<int> row) {
        session.setHighlightedRow(row ? row : session.highlightedRow());
        return session.placeUnplace();
    }
    // A 1200 x 1000 picture, drawn at half size in a board view of 600 x 500.
    void showPicture(const std::string& path) {
        session.setFrameSize(600, 500);
        session.loadBitmap(path);
        session.pictureOpened(1200, 1000);
    }
    // Cal 1 on row 0 pressed at pixel (100, 400), then Cal 2 on row 1 at (600, 900).
    SessionUpdate calibratePair() {
        click(0);
        session.pressOnPicture({true, 100, 400});
        session.cal1();
        click(1);
        session.pressOnPicture({true, 600, 900});
        return session.cal2();
    }

    AssemblySession session;
};

} // namespace kavelto

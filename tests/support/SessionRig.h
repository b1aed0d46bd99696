#pragma once

#include "TempFile.h"
#include "session/AssemblySession.h"

#include <gtest/gtest.h>

#include <optional>

namespace kavelto {

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

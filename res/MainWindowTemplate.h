#pragma once

// The main window's layout in dialog units, its controls listed in tab order.

enum class ControlKind {
    ListView,
    PushButton,
    RadioButton,
    BlackFrame,
    ReadOnlyEdit,
    NumberEdit,
    GroupBox,
    ComboBox,
    Label,
    Picture,
};

struct ControlTemplate {
    int id; // 0 for controls that nothing addresses
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
    const char* objectName;
    const char* accessibleName; // for controls whose caption does not say what they are
};

inline constexpr int kMainWindowWidth = 566;
inline constexpr int kMainWindowHeight = 442;

inline constexpr ControlTemplate kMainWindowControls[] = {
    {1004, ControlKind::ListView, "", 7, 348, 552, 87, "partList", "Part list"},
    {1000, ControlKind::PushButton, "Load Bitmap", 13, 41, 68, 13, "loadBitmap", nullptr},
    {1002, ControlKind::PushButton, "Rot L", 13, 57, 21, 11, "rotL", nullptr},
    {1003, ControlKind::PushButton, "Rot R", 36, 57, 22, 11, "rotR", nullptr},
    {1009, ControlKind::PushButton, "Flip", 59, 57, 22, 11, "flip", nullptr},
    {1001, ControlKind::PushButton, "Load PKP file", 13, 89, 68, 13, "loadPkp", nullptr},
    {1007, ControlKind::RadioButton, "Top", 13, 105, 29, 9, "top", nullptr},
    {1008, ControlKind::RadioButton, "Bottom", 42, 105, 39, 9, "bottom", nullptr},
    {1005, ControlKind::PushButton, "Cal 1", 13, 118, 31, 11, "cal1", nullptr},
    {1006, ControlKind::PushButton, "Cal 2", 48, 118, 33, 11, "cal2", nullptr},
    {1015, ControlKind::PushButton, "Place/unplace", 13, 159, 68, 27, "placeUnplace", nullptr},
    {1022, ControlKind::PushButton, "Pick List", 128, 159, 35, 12, "pickList", nullptr},
    {1016, ControlKind::PushButton, "Zoom In", 87, 174, 35, 13, "zoomIn", nullptr},
    {1017, ControlKind::PushButton, "Zoom Out", 127, 174, 36, 13, "zoomOut", nullptr},
    {1024, ControlKind::PushButton, "Next unplaced", 13, 190, 68, 11, "nextUnplaced", nullptr},
    {1025, ControlKind::PushButton, "Unplace all", 87, 190, 76, 11, "unplaceAll", nullptr},
    {1020, ControlKind::BlackFrame, "", 174, 7, 385, 337, "pictureFrame", "Board picture"},
    {1021, ControlKind::BlackFrame, "", 7, 209, 161, 134, "magnifierFrame", "Magnifier"},
    {1010, ControlKind::ReadOnlyEdit, "", 86, 41, 77, 12, "bitmapText", "Bitmap file"},
    {1011, ControlKind::ReadOnlyEdit, "", 86, 55, 77, 12, "rotationText", "Rotation"},
    {1012, ControlKind::ReadOnlyEdit, "", 86, 91, 77, 12, "pkpText", "Pick and Place file"},
    {1013, ControlKind::ReadOnlyEdit, "", 86, 116, 77, 12, "calibrationText", "Calibration"},
    {0, ControlKind::GroupBox, "Bitmap file", 7, 30, 161, 44, "bitmapGroup", nullptr},
    {0, ControlKind::GroupBox, "Pick and Place file", 7, 76, 161, 56, "pkpGroup", nullptr},
    {0, ControlKind::GroupBox, "Parts", 7, 134, 161, 72, "partsGroup", nullptr},
    {1014, ControlKind::ReadOnlyEdit, "", 86, 103, 77, 12, "partsPerFaceText", "Parts per face"},
    {1023, ControlKind::ComboBox, "", 43, 145, 120, 60, "sortBy", "Sort by"},
    {0, ControlKind::Label, "Sort by", 16, 147, 23, 8, "sortByLabel", nullptr},
    {1027, ControlKind::NumberEdit, "", 103, 161, 18, 12, "pcbCount", "PCB count"},
    {0, ControlKind::Label, "PCB", 87, 163, 15, 8, "pcbLabel", nullptr},
    {1018, ControlKind::PushButton, "Need help ?", 81, 7, 44, 18, "needHelp", nullptr},
    {1019, ControlKind::PushButton, "Shortcuts", 127, 7, 41, 18, "shortcuts", nullptr},
    {1028, ControlKind::Picture, "", 14, 7, 57, 17, "logo", "Logo"},
};

inline constexpr const char* kSortByEntries[] = {
    "Package,Prefix,Value,PartId",
    "Prefix,Package,Value,PartId",
    "Prefix,PartId",
};

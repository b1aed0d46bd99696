#pragma once

// The main window's layout in dialog units, its controls listed in tab order. The board
// picture comes before the magnifier, which shows a part of it.

enum class ControlKind {
    ListView,
    PushButton,
    RadioButton,
    BoardPicture,
    Magnifier,
    ReadOnlyEdit,
    NumberEdit,
    GroupBox,
    ComboBox,
    Label,
    Picture,
};

// The controls' identifiers.
namespace ControlId {
inline constexpr int LoadBitmap = 1000;
inline constexpr int LoadPkpFile = 1001;
inline constexpr int RotL = 1002;
inline constexpr int RotR = 1003;
inline constexpr int PartList = 1004;
inline constexpr int Cal1 = 1005;
inline constexpr int Cal2 = 1006;
inline constexpr int Top = 1007;
inline constexpr int Bottom = 1008;
inline constexpr int Flip = 1009;
inline constexpr int BitmapText = 1010;
inline constexpr int RotationText = 1011;
inline constexpr int PkpText = 1012;
inline constexpr int CalibrationText = 1013;
inline constexpr int PartsPerFaceText = 1014;
inline constexpr int PlaceUnplace = 1015;
inline constexpr int ZoomIn = 1016;
inline constexpr int ZoomOut = 1017;
inline constexpr int NeedHelp = 1018;
inline constexpr int Shortcuts = 1019;
inline constexpr int PictureFrame = 1020;
inline constexpr int MagnifierFrame = 1021;
inline constexpr int PickList = 1022;
inline constexpr int SortBy = 1023;
inline constexpr int NextUnplaced = 1024;
inline constexpr int UnplaceAll = 1025;
inline constexpr int PcbCount = 1027;
inline constexpr int Logo = 1028;
} // namespace ControlId

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
    {ControlId::PartList, ControlKind::ListView, "", 7, 348, 552, 87, "partList", "Part list"},
    {ControlId::LoadBitmap, ControlKind::PushButton, "Load Bitmap", 13, 41, 68, 13, "loadBitmap",
     nullptr},
    {ControlId::RotL, ControlKind::PushButton, "Rot L", 13, 57, 21, 11, "rotL", nullptr},
    {ControlId::RotR, ControlKind::PushButton, "Rot R", 36, 57, 22, 11, "rotR", nullptr},
    {ControlId::Flip, ControlKind::PushButton, "Flip", 59, 57, 22, 11, "flip", nullptr},
    {ControlId::LoadPkpFile, ControlKind::PushButton, "Load PKP file", 13, 89, 68, 13, "loadPkp",
     nullptr},
    {ControlId::Top, ControlKind::RadioButton, "Top", 13, 105, 29, 9, "top", nullptr},
    {ControlId::Bottom, ControlKind::RadioButton, "Bottom", 42, 105, 39, 9, "bottom", nullptr},
    {ControlId::Cal1, ControlKind::PushButton, "Cal 1", 13, 118, 31, 11, "cal1", nullptr},
    {ControlId::Cal2, ControlKind::PushButton, "Cal 2", 48, 118, 33, 11, "cal2", nullptr},
    {ControlId::PlaceUnplace, ControlKind::PushButton, "Place/unplace", 13, 159, 68, 27,
     "placeUnplace", nullptr},
    {ControlId::PickList, ControlKind::PushButton, "Pick List", 128, 159, 35, 12, "pickList",
     nullptr},
    {ControlId::ZoomIn, ControlKind::PushButton, "Zoom In", 87, 174, 35, 13, "zoomIn", nullptr},
    {ControlId::ZoomOut, ControlKind::PushButton, "Zoom Out", 127, 174, 36, 13, "zoomOut", nullptr},
    {ControlId::NextUnplaced, ControlKind::PushButton, "Next unplaced", 13, 190, 68, 11,
     "nextUnplaced", nullptr},
    {ControlId::UnplaceAll, ControlKind::PushButton, "Unplace all", 87, 190, 76, 11, "unplaceAll",
     nullptr},
    {ControlId::PictureFrame, ControlKind::BoardPicture, "", 174, 7, 385, 337, "pictureFrame",
     "Board picture"},
    {ControlId::MagnifierFrame, ControlKind::Magnifier, "", 7, 209, 161, 134, "magnifierFrame",
     "Magnifier"},
    {ControlId::BitmapText, ControlKind::ReadOnlyEdit, "", 86, 41, 77, 12, "bitmapText",
     "Bitmap file"},
    {ControlId::RotationText, ControlKind::ReadOnlyEdit, "", 86, 55, 77, 12, "rotationText",
     "Rotation"},
    {ControlId::PkpText, ControlKind::ReadOnlyEdit, "", 86, 91, 77, 12, "pkpText",
     "Pick and Place file"},
    {ControlId::CalibrationText, ControlKind::ReadOnlyEdit, "", 86, 116, 77, 12, "calibrationText",
     "Calibration"},
    {0, ControlKind::GroupBox, "Bitmap file", 7, 30, 161, 44, "bitmapGroup", nullptr},
    {0, ControlKind::GroupBox, "Pick and Place file", 7, 76, 161, 56, "pkpGroup", nullptr},
    {0, ControlKind::GroupBox, "Parts", 7, 134, 161, 72, "partsGroup", nullptr},
    {ControlId::PartsPerFaceText, ControlKind::ReadOnlyEdit, "", 86, 103, 77, 12,
     "partsPerFaceText", "Parts per face"},
    {ControlId::SortBy, ControlKind::ComboBox, "", 43, 145, 120, 60, "sortBy", "Sort by"},
    {0, ControlKind::Label, "Sort by", 16, 147, 23, 8, "sortByLabel", nullptr},
    {ControlId::PcbCount, ControlKind::NumberEdit, "", 103, 161, 18, 12, "pcbCount", "PCB count"},
    {0, ControlKind::Label, "PCB", 87, 163, 15, 8, "pcbLabel", nullptr},
    {ControlId::NeedHelp, ControlKind::PushButton, "Need help ?", 81, 7, 44, 18, "needHelp",
     nullptr},
    {ControlId::Shortcuts, ControlKind::PushButton, "Shortcuts", 127, 7, 41, 18, "shortcuts",
     nullptr},
    {ControlId::Logo, ControlKind::Picture, "", 14, 7, 57, 17, "logo", "Logo"},
};

inline constexpr const char* kSortByEntries[] = {
    "Package,Prefix,Value,PartId",
    "Prefix,Package,Value,PartId",
    "Prefix,PartId",
};

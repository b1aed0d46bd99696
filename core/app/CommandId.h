#pragma once

namespace kavelto {

// Every command of the main window: its buttons, keys and right-click menu entries. Each is one
// row of the command table, which says how the user reaches it and which handler runs it. A
// command that one control of the window's template runs has that control's identifier.
enum class CommandId {
    LoadBitmap = 1000,
    LoadPkpFile = 1001,
    RotL = 1002,
    RotR = 1003,
    LocateSelectedPart = 1004,
    Cal1 = 1005,
    Cal2 = 1006,
    Top = 1007,
    Bottom = 1008,
    Flip = 1009,
    PlaceUnplace = 1015,
    ZoomIn = 1016,
    ZoomOut = 1017,
    NeedHelp = 1018,
    Shortcuts = 1019,
    PickList = 1022,
    SortChange = 1023,
    NextUnplaced = 1024,
    UnplaceAll = 1025,
    LogoClick = 1028,
    Ok = 2000,
    PageUp,
    PageDown,
    Home,
    End,
    Up,
    Down,
    UnplaceAllConfirmed,
    VisitMakerSite,
    About,
    RestoreSession,
    FindPart,
    ShowKindSpots,
    AddCalPoint,
    RemoveLastCalPoint,
    IdentifyPart,
    Undo = 2100,
    Redo = 2101,
    AnnounceInPicture = 2102,
    NudgeLeft = 2103,
    NudgeRight = 2104,
    NudgeUp = 2105,
    NudgeDown = 2106,
    WholePicture = 2107,
    RestoreEarlierSession = 2400,
    RestoreChosenSession = 2401,
    RestoreByDesignators = 2402,
    LoadBoardFile = 2200,
    // The bill of materials beside the placement file.
    LoadBom = 2300,
    ToggleNotFitted = 2301,
    ExportProgress = 2302,
    SparesPerItem = 2303,
    PrintSheets = 2304,
    // The spares rule's table offered, and the table as the user left it.
    EditSparesRule = 2305,
    SparesRuleEdited = 2306,
};

} // namespace kavelto

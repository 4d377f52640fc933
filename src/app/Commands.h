#pragma once
// Command IDs of the menu and the toolbar.

namespace morvane {

enum CommandId : int {
    CmdRemoveSelected = 1001,
    CmdRegister = 1002,
    CmdRename = 1004,
    CmdChooseFont = 32774,
    CmdEditorButton = 32775,
    CmdOptions = 32776,
    CmdRemoveSelectedMenu = 32782,
    CmdRegisterFolder = 32794,
    CmdRegisterFiles = 32795,
    CmdLoadListFile = 32796,
    CmdSaveListFileAs = 32797,
    CmdOverwriteSave = 32804,
    CmdEditInTextEditor = 32806,
    CmdClear = 32807,
    CmdOpen = 32808,
    CmdGoUp = 32809,
    CmdClearAll = 32811,
    CmdMoveUp = 32812,
    CmdMoveDown = 32813,
    CmdToggleToolBar = 59392,
    CmdToggleStatusBar = 59393,
    CmdAbout = 57664,
    CmdExit = 57665,
};

}  // namespace morvane

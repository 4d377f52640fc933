#pragma once
// The program's commands, whichever road they take: a menu item, a toolbar button, a key, a
// drop, a header click.

#include <string>
#include <vector>

namespace morvane {

enum class Command {
    // ファイル
    LoadListFile,
    OverwriteSave,
    SaveListFileAs,
    Exit,
    // 操作
    RegisterFiles,
    RegisterFolder,
    RemoveSelected,
    ClearAll,
    MoveUp,
    MoveDown,
    NameTools,
    NameToolsPreset,  // argument: the preset's name (最近使ったプリセット)
    // 表示
    ToggleToolBar,
    ToggleStatusBar,
    ChooseFont,
    Options,
    // 実行
    EditInTextEditor,  // the menu item: toggles the lock
    EditorButton,      // the check button: locks when it is checked
    Rename,
    UndoRename,
    History,
    // ヘルプ
    About,
    // The toolbar and the keys of the list.
    Open,
    GoUp,
    EditName,
    NumberNames,
    SelectAll,
    // The rows in error: F8, Shift+F8, the status bar's count.
    NextError,
    PreviousError,
    FirstError,
    // The list's mouse: paths dropped on it, a click on a column heading.
    DropFiles,     // argument: the paths
    SortByColumn,  // argument: the column
    // Paths named on the command line, or handed over by a later start.
    OpenPaths,  // argument: the paths
};

// What a command that needs more than its name is given.
struct CommandArgument {
    std::vector<std::string> paths;
    std::string text;
    int column = -1;
};

}  // namespace morvane

#pragma once
// The program's commands, whichever road they take: a menu item, a toolbar button or a key.

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
    // ヘルプ
    About,
    // The toolbar and the keys of the list.
    Open,
    GoUp,
    EditName,
    NumberNames,
    SelectAll,
};

}  // namespace morvane

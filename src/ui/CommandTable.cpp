#include "ui/CommandTable.h"

#include <QStyle>

#include "app/Commands.h"

namespace morvane {

const std::vector<MenuSpec>& MenuTable() {
    static const std::vector<MenuSpec> menus = {
        {"ファイル(&F)",
         {{CmdLoadListFile, "読み込み (&L)"},
          {CmdOverwriteSave, "上書き保存 (&S)"},
          {CmdSaveListFileAs, "名前を付けて保存 (&A)"},
          {0, nullptr},
          {CmdExit, "アプリケーションの終了(&X)"}}},
        {"操作 (&O)",
         {{CmdRegisterFiles, "リストにファイルを登録 (&A)"},
          {CmdRegisterFolder, "リストにフォルダを登録 (&F)"},
          {CmdRemoveSelectedMenu, "選択中のリストをクリア (&R)"},
          {CmdClearAll, "すべてのリストをクリア （&C）"},
          {0, nullptr},
          {CmdMoveUp, "選択中のリストを１つ上に移動　(&U)"},
          {CmdMoveDown, "選択中のリストを１つ下に移動 (&D)"}}},
        {"表示(&V)",
         {{CmdToggleToolBar, "ツール バー(&T)"},
          {CmdToggleStatusBar, "ステータス バー(&S)"},
          {0, nullptr},
          {CmdChooseFont, "フォント (&F)"},
          {0, nullptr},
          {CmdOptions, "環境設定 (&O)"}}},
        {"実行 (&A)",
         {{CmdEditInTextEditor, "テキストエディタで編集 (&T)"},
          {0, nullptr},
          {CmdRename, "新しい名前でリネーム (&R)"}}},
        {"ヘルプ(&H)", {{CmdAbout, "バージョン情報 (&A)"}}},
    };
    return menus;
}

const std::array<ToolButtonSpec, 10>& ToolBarTable() {
    static const std::array<ToolButtonSpec, 10> buttons = {{
        {CmdRegister, "登録", "list-add", QStyle::SP_FileDialogNewFolder, false},
        {CmdRemoveSelected, "破棄", "list-remove", QStyle::SP_DialogDiscardButton, false},
        {CmdClear, "クリア", "edit-clear", QStyle::SP_DialogResetButton, false},
        {0, nullptr, nullptr, 0, false},
        {CmdOpen, "開く", "document-open", QStyle::SP_DirOpenIcon, false},
        {CmdGoUp, "一つ上へ", "go-up", QStyle::SP_FileDialogToParent, false},
        {0, nullptr, nullptr, 0, false},
        {CmdEditorButton, "エディタ編集", "accessories-text-editor",
         QStyle::SP_FileDialogDetailedView, true},
        {0, nullptr, nullptr, 0, false},
        {CmdRename, "リネーム", "document-save", QStyle::SP_DialogApplyButton, false},
    }};
    return buttons;
}

const char* CommandPrompt(int id) {
    switch (id) {
        case CmdRemoveSelected:
            return "リストから削除";
        case CmdRegister:
            return "リストに登録";
        case CmdRename:
            return "新しいファイル名にリネーム";
        case CmdEditorButton:
            return "テキストエディタで編集";
        case CmdOpen:
            return "フォルダを開く";
        case CmdGoUp:
            return "１つ上の階層へ移動";
        default:
            return nullptr;
    }
}

}  // namespace morvane

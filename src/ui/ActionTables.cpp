#include "ui/ActionTables.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace morvane {

const std::vector<MenuEntry>& MenuTable() {
    static const std::vector<MenuEntry> menus = {
        {"ファイル(&F)",
         {{Command::LoadListFile, "読み込み (&L)", nullptr},
          {Command::OverwriteSave, "上書き保存 (&S)", nullptr},
          {Command::SaveListFileAs, "名前を付けて保存 (&A)", nullptr},
          {std::nullopt, nullptr, nullptr},
          {Command::Exit, "アプリケーションの終了(&X)", nullptr}}},
        {"操作 (&O)",
         {{Command::RegisterFiles, "リストにファイルを登録 (&A)", nullptr},
          {Command::RegisterFolder, "リストにフォルダを登録 (&F)", nullptr},
          {Command::RemoveSelected, "選択中のリストをクリア (&R)", nullptr},
          {Command::ClearAll, "すべてのリストをクリア （&C）", nullptr},
          {std::nullopt, nullptr, nullptr},
          {Command::MoveUp, "選択中のリストを１つ上に移動　(&U)", nullptr},
          {Command::MoveDown, "選択中のリストを１つ下に移動 (&D)", nullptr},
          {std::nullopt, nullptr, nullptr},
          {Command::NextError, "次のエラー行へ移動 (&E)", "エラーのある次の行を選択"},
          {Command::PreviousError, "前のエラー行へ移動 (&B)", "エラーのある前の行を選択"},
          {std::nullopt, nullptr, nullptr},
          {Command::NameTools, "名前の一括変更 (&N)", "選択した行の新しい名前をまとめて作る"}}},
        {"表示(&V)",
         {{Command::ToggleToolBar, "ツール バー(&T)", nullptr},
          {Command::ToggleStatusBar, "ステータス バー(&S)", nullptr},
          {std::nullopt, nullptr, nullptr},
          {Command::ChooseFont, "フォント (&F)", nullptr},
          {std::nullopt, nullptr, nullptr},
          {Command::Options, "環境設定 (&O)", nullptr}}},
        {"実行 (&A)",
         {{Command::EditInTextEditor, "テキストエディタで編集 (&T)", nullptr},
          {std::nullopt, nullptr, nullptr},
          {Command::Rename, "新しい名前でリネーム (&R)", "新しいファイル名にリネーム"},
          {Command::UndoRename, "直前のリネームを元に戻す (&U)",
           "直前のリネームで変わった名前を元に戻す"},
          {Command::History, "リネームの履歴 (&H)",
           "これまでのリネームを一覧し、選んだものを元に戻す"}}},
        {"ヘルプ(&H)", {{Command::About, "バージョン情報 (&A)", nullptr}}},
    };
    return menus;
}

const std::array<ToolButtonEntry, 10>& ToolBarTable() {
    static const std::array<ToolButtonEntry, 10> buttons = {{
        {Command::RegisterFiles, "登録", "tool-register.svg", false, "リストに登録"},
        {Command::RemoveSelected, "破棄", "tool-remove.svg", false, "リストから削除"},
        {Command::ClearAll, "クリア", "tool-clear.svg", false, nullptr},
        {std::nullopt, nullptr, nullptr, false, nullptr},
        {Command::Open, "開く", "tool-open.svg", false, "フォルダを開く"},
        {Command::GoUp, "一つ上へ", "tool-up.svg", false, "１つ上の階層へ移動"},
        {std::nullopt, nullptr, nullptr, false, nullptr},
        {Command::EditorButton, "エディタ編集", "tool-editor.svg", true, "テキストエディタで編集"},
        {std::nullopt, nullptr, nullptr, false, nullptr},
        {Command::Rename, "リネーム", "tool-rename.svg", false, "新しいファイル名にリネーム"},
    }};
    return buttons;
}

const std::vector<KeyEntry>& KeyTable() {
    static const std::vector<KeyEntry> keys = {
        {Command::GoUp, Qt::Key_Backspace, Qt::NoModifier, false},
        {Command::Open, Qt::Key_Return, Qt::NoModifier, false},
        {Command::Open, Qt::Key_Enter, Qt::NoModifier, false},
        {Command::RemoveSelected, Qt::Key_Delete, Qt::NoModifier, true},
        {Command::EditName, Qt::Key_F2, Qt::NoModifier, false},
        {Command::NumberNames, Qt::Key_F5, Qt::NoModifier, false},
        {Command::MoveUp, Qt::Key_Up, Qt::AltModifier, false},
        {Command::MoveDown, Qt::Key_Down, Qt::AltModifier, false},
        {Command::SelectAll, Qt::Key_A, Qt::ControlModifier, true},
        {Command::UndoRename, Qt::Key_Z, Qt::ControlModifier, true},
        {Command::NameTools, Qt::Key_H, Qt::ControlModifier, true},
        {Command::OverwriteSave, Qt::Key_S, Qt::ControlModifier, true},
        {Command::RegisterFiles, Qt::Key_Insert, Qt::NoModifier, true},
        {Command::EditInTextEditor, Qt::Key_E, Qt::ControlModifier, true},
        {Command::Rename, Qt::Key_F9, Qt::NoModifier, true},
        {Command::NextError, Qt::Key_F8, Qt::NoModifier, true},
        {Command::PreviousError, Qt::Key_F8, Qt::ShiftModifier, true},
    };
    return keys;
}

QList<QKeySequence> KeySequencesOf(const KeyEntry& key) {
    // Ctrl+Shift+Z is redo everywhere else: the undo of a run takes its own key alone.
    if (key.command == Command::UndoRename)
        return {QKeySequence(QKeyCombination(key.required, key.key))};
    static const Qt::KeyboardModifier kModifiers[] = {Qt::ShiftModifier, Qt::ControlModifier,
                                                      Qt::AltModifier, Qt::MetaModifier};
    // A combination another entry of the same key asks for is that entry's (Shift+F8 goes
    // back, F8 forward).
    const auto claimedElsewhere = [&key](Qt::KeyboardModifiers held) {
        for (const KeyEntry& other : KeyTable()) {
            if (other.key == key.key && other.required != key.required &&
                (other.required & ~key.required) != 0 && (held & other.required) == other.required)
                return true;
        }
        return false;
    };
    QList<QKeySequence> sequences;
    for (unsigned mask = 0; mask < 16; ++mask) {
        Qt::KeyboardModifiers held = key.required;
        for (unsigned bit = 0; bit < 4; ++bit) {
            if ((mask & (1u << bit)) != 0)
                held |= kModifiers[bit];
        }
        if (claimedElsewhere(held))
            continue;
        const QKeySequence sequence(QKeyCombination(held, key.key));
        if (!sequences.contains(sequence))
            sequences.push_back(sequence);
    }
    return sequences;
}

QKeySequence ShownKeyOf(Command command) {
    for (const KeyEntry& key : KeyTable()) {
        if (key.command == command)
            return QKeySequence(QKeyCombination(key.required, key.key));
    }
    return {};
}

QAction* ActionForKey(const QWidget& widget, const QKeyEvent& event) {
    const QKeySequence typed(
        QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key())));
    for (QAction* action : widget.actions()) {
        if (action->isEnabled() && action->shortcuts().contains(typed))
            return action;
    }
    return nullptr;
}

}  // namespace morvane

#pragma once
// Every text the program shows in the log and in its message boxes, verbatim.

#include <string>

namespace morvane {

// printf-style formatting into a std::string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace msg {

// Start-up.
inline constexpr const char* kStartupCaption = "実行エラー";
inline constexpr const char* kNoProgramDir = "実行ディレクトリを取得できませんでした。";
inline constexpr const char* kNoTempDir = "一時ディレクトリを取得できませんでした。";
// Shut-down.
inline constexpr const char* kSettingsNotSaved = "【エラー】設定を保存できませんでした。(%s : %s)";

// Row lock question.
inline constexpr const char* kUnlockQuestion =
    "この操作を遂行するために行ロックを解除する必要があります。\n"
    "行ロックを解除すると現在編集しているテキストファイルでは更新できなくなります。\n\n"
    "行ロックを解除してもいいですか？";
inline constexpr const char* kUnlockCaption = "作業の確認";

// Banners.
inline constexpr const char* kRegisterStart =
    "【登録】登録処理を開始します --------------------------- [START]\n";
inline constexpr const char* kRegisterEnd =
    "\n【登録】登録処理を終了します --------------------------- [END]\n";
inline constexpr const char* kRenameStart =
    "【リネーム】リネーム処理を開始します --------------------------- [START]\n";
inline constexpr const char* kRenameEnd =
    "\n【リネーム】リネーム処理を終了します --------------------------- [END]\n";
inline constexpr const char* kRenameSummary =
    "【リネーム】%d 件をリネームしました。エラーのため %d 件をリネームしませんでした。%d "
    "件のリネームに失敗しました。";
inline constexpr const char* kReimportStart =
    "【更新】テキストファイルの更新処理を開始します --------------------------- [START] (%s)\n";
inline constexpr const char* kReimportEnd =
    "\n【更新】テキストファイルの更新処理を終了します --------------------------- [END]\n";
inline constexpr const char* kReimportFailedEnd =
    "\n【更新】テキストファイルの更新処理は失敗しました --------------------------- [END]\n";

// Registration.
inline constexpr const char* kBusy = "【エラー】登録操作が行われています。しばらくお待ちください。";
inline constexpr const char* kAborted = "【エラー】登録操作を中断します。";
inline constexpr const char* kInProgramPrefix =
    "【エラー】Windowsディレクトリ内のファイルは編集できません。(%s)";
inline constexpr const char* kInConfigPrefix =
    "【エラー】システムディレクトリ内のファイルは編集できません。(%s)";
inline constexpr const char* kPathTooLong =
    "【エラー】%d文字を超えるファイルは登録できません。(%s)";
inline constexpr const char* kPathTooLongForSystem =
    "【エラー】パスが%dバイトを超えるファイルは登録できません。(%s)";
inline constexpr const char* kRenameTestFailed =
    "【警告】以下のファイルはリネームテストに失敗しました。リストに登録されますがリネーム編集はでき"
    "ませ"
    "ん。(ファイル名 : %s)";
inline constexpr const char* kFolderRenameLosesFiles =
    "【警告】このファイルシステム (%s) ではフォルダの名前を変えると中のファイルが失われるため、"
    "フォルダはリストに登録されますがリネーム編集はできません。(フォルダ名 : %s)";
inline constexpr const char* kFolderUnreadable = "【エラー】フォルダを読み込めませんでした。(%s)";
inline constexpr const char* kFolderTitle = "リストに登録するフォルダを指定して下さい。";
inline constexpr const char* kSearching = "search...";

// Validation.
inline constexpr const char* kTrailingBlanks =
    "【警告】最後の空白文字は無視されます。(行 : %d ,名前 : \"%s\")";
inline constexpr const char* kBlankName = "【エラー】空白行です。(行 : %d)";
inline constexpr const char* kForbidden =
    "【エラー】使用禁止文字が含まれています。(行 : %d ,名前 : \"%s\")";
// Follows kForbidden: what the file system of the row's folder refuses.
inline constexpr const char* kRefusedHere = " (このファイルシステムで使えない文字 : %s)";
// A name such a file system refuses whole, followed by why.
inline constexpr const char* kForbiddenName =
    "【エラー】使用できない名前です。(行 : %d ,名前 : \"%s\")";
inline constexpr const char* kDeviceNameHere =
    " (このファイルシステムでは CON, PRN, AUX, NUL, COM1～COM9, LPT1～LPT9 "
    "は拡張子を付けても名前に使えません)";
inline constexpr const char* kTrailingDotHere =
    " (このファイルシステムでは名前の最後にピリオドと空白を使えません)";
inline constexpr const char* kDuplicate =
    "【エラー】リネーム後の名前が重複します。(行 : %d ,行 : %d)";
inline constexpr const char* kExists =
    "【エラー】同じディレクトリにあるファイル名と重複します。(行 : %d,パス : %s)";
inline constexpr const char* kSwapTarget =
    "【エラー】入れ替え先のファイルにエラーがあります。(行 : %d ,名前 : \"%s\")";

// Rename.
inline constexpr const char* kRenameQuestion =
    "新しい名前でリネームします。よろしいですか？\t\nエラーのある名前は省略されます。\n\n";
// Follows kRenameQuestion: what the run will do.
inline constexpr const char* kRenameCounts =
    "ファイル %d 個、フォルダ %d 個をリネームします。エラーのため %d 個を省略します。";
inline constexpr const char* kRenameCaption = "リネームの確認";
inline constexpr const char* kVacateFailed =
    "【致命的なエラー】ファイルの入れ替えリネームに失敗しました。\n(\n現在のファイル名 : \"%s\",\n"
    "一時ファイル名 : \"%s\",\n理由 : %s)";
inline constexpr const char* kMoveFailed =
    "【致命的なエラー】ファイルのリネームに失敗しました。\n(\n現在のファイル名 : \"%s\",\n"
    "新しいファイル名 : \"%s\",\n理由 : %s\n)";
inline constexpr const char* kPlaceFailed =
    "【致命的なエラー】ファイルの入れ替えリネームに失敗しました。\n(\n元ファイル名 : \"%s\",\n"
    "現在のファイル名 : \"%s\",\n新しいファイル名 : \"%s\",\n理由 : %s\n)";
inline constexpr const char* kRenameFileMissing =
    "【エラー】ファイルが見つからないためリネームできませんでした。(%s)";
inline constexpr const char* kNameTooLong =
    "【エラー】名前が長すぎます。このフォルダでは%dバイトまでです。(行 : %d ,名前 : \"%s\")";
// Where the file system counts names in UTF-16, as the 文字数 column does.
inline constexpr const char* kNameTooLongUnits =
    "【エラー】名前が長すぎます。このフォルダでは%d文字までです。(行 : %d ,名前 : \"%s\")";
inline constexpr const char* kFolderReplaced =
    "【エラー】登録した後でフォルダが別のフォルダかリンクに置き換えられたため、リネームしませんでし"
    "た。(%s)";
inline constexpr const char* kPutBack =
    "【エラー】ファイルの入れ替えリネームに失敗したため元の名前に戻しました。\n(\n"
    "現在のファイル名 : \"%s\",\n新しいファイル名 : \"%s\",\n理由 : %s\n)";
inline constexpr const char* kJournalFailed =
    "【エラー】ジャーナルを書き込めないため、リネームを中止しました。ファイルは一つも移動していませ"
    "ん。(%s : %s)";
inline constexpr const char* kJournalNotClosed =
    "【エラー】ジャーナルにリネームの完了を記録できませんでした。(%s : %s)";

// Recovery of a run that was cut off.
inline constexpr const char* kRecoveryStart =
    "【復旧】復旧処理を開始します --------------------------- [START]\n";
inline constexpr const char* kRecoveryEnd =
    "\n【復旧】復旧処理を終了します --------------------------- [END]\n";
inline constexpr const char* kRecoveryFound =
    "【復旧】前回のリネームは途中で止まりました。(ジャーナル : %s)\n"
    "元の名前のファイル : %d 件、新しい名前のファイル : %d 件、一時的な名前のファイル : %d 件、"
    "見つからないファイル : %d 件";
inline constexpr const char* kRecoveryQuestion =
    "前回のリネームは途中で止まりました。\n\n"
    "元の名前のファイル : %d 件\n新しい名前のファイル : %d 件\n一時的な名前のファイル : %d 件\n"
    "見つからないファイル : %d 件\n\n"
    "すべてのファイルを元の名前に戻しますか？それとも新しい名前へのリネームを完了しますか？";
inline constexpr const char* kRecoveryCaption = "リネームの復旧";
inline constexpr const char* kRecoveryRollBack = "元の名前に戻す";
inline constexpr const char* kRecoveryFinish = "リネームを完了する";
inline constexpr const char* kRecoveryLater = "後で";
inline constexpr const char* kRecoveryNotFound =
    "【エラー】ファイルが見つからないため復旧できませんでした。(%s)";
inline constexpr const char* kRecoveryMoveFailed =
    "【エラー】移動先が使われているか移動できないため、ファイルをそのままにしました。\n(\n"
    "現在のファイル名 : \"%s\",\n移動先のファイル名 : \"%s\",\n理由 : %s\n)";
inline constexpr const char* kRecoveredBack =
    "【復旧】%d 件のファイルのうち %d 件が元の名前になりました。";
inline constexpr const char* kRecoveredForward =
    "【復旧】%d 件のファイルのうち %d 件が新しい名前になりました。";
inline constexpr const char* kRecoveryNotOurs =
    "【エラー】ジャーナルに記録されたファイルとは別のファイルのため、そのままにしました。(%s)";
inline constexpr const char* kRecoveryUnclear =
    "【エラー】ほかのファイルと見分けられないため、そのままにしました。(%s)";
inline constexpr const char* kRecoveryExtraNameRemoved =
    "【復旧】途中で止まった移動が残した同じファイルの余分な名前を削除しました。(%s)";
inline constexpr const char* kRecoveryTwoNames =
    "【エラー】同じファイルに二つの名前があり、余分な名前か確かめられないため、両方ともそのままに"
    "しました。\n(\n名前 : \"%s\",\n名前 : \"%s\"\n)";
inline constexpr const char* kRecoveryKeptOpen =
    "【復旧】一時的な名前のままのファイルか見つからないファイルがあるため、ジャーナルを残しました。"
    "次回の起動時にもう一度確認します。(ジャーナル : %s)";
inline constexpr const char* kRecoveryPutOff =
    "【復旧】復旧を延期しました。次回の起動時にもう一度確認します。(ジャーナル : %s)";
inline constexpr const char* kJournalUnreadable =
    "【エラー】ジャーナルを読み込めないため、そのままにしました。(%s)";
inline constexpr const char* kJournalDamaged =
    "【復旧】ジャーナルが壊れているため、全体は読めませんでした。読めた行 : %d 行、読めなかった行 "
    ": "
    "%d 行。読めた記録と一時的な名前のファイルから元に戻します。(ジャーナル : %s)";
inline constexpr const char* kDamagedQuestion =
    "前回のリネームのジャーナルが壊れています。(読めた行 : %d 行、読めなかった行 : %d 行)\n\n"
    "元の名前のファイル : %d 件\n新しい名前のファイル : %d 件\n一時的な名前のファイル : %d 件\n"
    "見つからないファイル : %d 件\nジャーナルにない一時的な名前のファイル : %d 件\n\n"
    "読めた記録と一時的な名前から、ファイルを元の名前に戻しますか？";
inline constexpr const char* kStrayPutBack =
    "【復旧】一時的な名前のファイルを元の名前に戻しました。(%s → %s)";
inline constexpr const char* kStrayNotPutBack =
    "【エラー】一時的な名前のファイルを元の名前に戻せないため、そのままにしました。\n(\n"
    "現在のファイル名 : \"%s\",\n元のファイル名 : \"%s\",\n理由 : %s\n)";
inline constexpr const char* kStrayNameCut =
    "【エラー】一時的な名前から元の名前がわからないため、そのままにしました。(%s)";
inline constexpr const char* kRunFoundComplete =
    "【復旧】前回のリネームは最後まで済んでいましたが、その記録が書き込めていませんでした。すべての"
    "ファイルが新しい名前になっているため、完了として記録しました。(ジャーナル : %s)";
inline constexpr const char* kStrandedKeptOpen =
    "【エラー】一時的な名前のまま元に戻せなかったファイルがあるため、ジャーナルを残しました。次回の"
    "起動時かリネームの履歴から元に戻せます。(ジャーナル : %s)";
inline constexpr const char* kStaleTextFileRemoved =
    "【操作】前回の終了しなかったセッションのテキストファイルを削除しました。(%s)";

// Undo.
// The run the undo reverses: when, how many files, which folders.
inline constexpr const char* kUndoRunLine =
    "%s のリネーム (%d 個のファイル、%s) を元に戻します。\n";
inline constexpr const char* kUndoQuestion =
    "%d 個のファイルを元の名前にリネームします。よろしいですか？\n\n"
    "リネームの後で変更されたファイル (%d 個) はそのままにします。";
inline constexpr const char* kUndoPassedOver =
    "【操作】%s のリネーム (%d 個のファイル、%s) には元に戻せるファイルが残っていないため、飛ばし"
    "ました。";
// The history of runs.
inline constexpr const char* kRunDone = "完了";
inline constexpr const char* kRunPartlyUndone = "一部元に戻した";
inline constexpr const char* kRunUndone = "元に戻した";
inline constexpr const char* kRunInterrupted = "中断";
inline constexpr const char* kRunKindRename = "リネーム";
inline constexpr const char* kRunKindUndo = "元に戻す";
inline constexpr const char* kFileAtNew = "新しい名前";
inline constexpr const char* kFileAtOld = "元の名前";
inline constexpr const char* kFileAtTemporary = "一時的な名前 (%s)";
inline constexpr const char* kFileChanged = "変更された・見つからない";
inline constexpr const char* kOlderRunsDropped =
    "【操作】ジャーナルの合計サイズが上限を超えたため、古いリネームの記録 %d 件を削除しました。";
inline constexpr const char* kOtherFolders = " 他 %d フォルダ";
inline constexpr const char* kUndoCaption = "リネームを元に戻す";
inline constexpr const char* kNothingToUndo = "【エラー】元に戻せるリネームはありません。";
inline constexpr const char* kUndoChanged =
    "【エラー】リネームの後で移動・変更されたため、元に戻しませんでした。(%s)";
// A later run renamed the file: where it is now. Undoing that run first brings it back.
inline constexpr const char* kUndoRenamedSince =
    "【エラー】後のリネームで名前が変わったため、元に戻しませんでした。先にそのリネームを元に戻"
    "してください。(%s → 現在 : %s)";

// Row lock and text file.
inline constexpr const char* kLocked =
    "【操作】『行』をロックします。以下のテキストファイルを編集して上書き保存すると、リストが自動的"
    "に更"
    "新されます。(%s)";
inline constexpr const char* kUnlocked =
    "【操作】『行』のロックを解除します。以下のテキストファイルを削除します。(%s)";
inline constexpr const char* kTextDeleteFailed =
    "【エラー】以下のテキストファイルの削除に失敗しました。(%s)";
inline constexpr const char* kTextOpenFailed =
    "【エラー】テキストファイルが開けませんでした。(\"%s\")";
inline constexpr const char* kFewerLines =
    "【エラー】テキストファイルの行数がリストの行数より少ないため更新を中断しました。(テキスト行数 "
    "= %d 、"
    "リスト行数 = %d)";
inline constexpr const char* kNamesChanged = "【更新】%d 件の新しいファイル名が変わりました。";
inline constexpr const char* kLineTooLong =
    "【エラー】長すぎる行を検出したので読み込みを停止します。（テキスト 行 : %d）";
inline constexpr const char* kPathCut =
    "【警告】パスが%d文字を超えたので切捨てます。(行 : %d ,名前 : \"%s\")";
inline constexpr const char* kTextUtf16 =
    "【エラー】UTF-16で保存されたテキストファイルは読み込めません。文字コードを変更して保存し直して"
    "ください。(\"%s\")";
inline constexpr const char* kEditorCommandUnusable =
    "【エラー】外部テキストエディタのコマンドラインを解釈できません。(%s)";
inline constexpr const char* kNoTerminal = "【エラー】端末エミュレータが見つかりません。(%s)";
inline constexpr const char* kEditorNotStarted =
    "【エラー】テキストエディタを起動できなかったため、『行』をロックしませんでした。";
inline constexpr const char* kNewlineInName =
    "【エラー】改行を含む名前はテキストファイルに書き出せません。(行 : %d ,名前 : \"%s\")";

// Shell.
inline constexpr const char* kShellNoMemory =
    "【エラー】メモリまたはリソースが不足しています。(%s)";
inline constexpr const char* kShellFileNotFound = "【エラー】ファイルが見つかりません。(%s)";
inline constexpr const char* kShellPathNotFound = "【エラー】パスが見つかりません。(%s)";
inline constexpr const char* kShellAccessDenied = "【エラー】ファイルへアクセスできません。(%s)";
inline constexpr const char* kShellBadFormat = "【エラー】無効な実行ファイルです。(%s)";
inline constexpr const char* kShellNoAssociation =
    "【エラー】関連付けされた実行ファイルがありません。(%s)";

// List files.
inline constexpr const char* kListFileMissingPath = "【エラー】以下のファイルは存在しません。(%s))";
inline constexpr const char* kOverwriteSaved = "【保存】上書き保存しました。(%s)";
inline constexpr const char* kListFileNotSaved =
    "【エラー】リストファイルを保存できませんでした。(%s : %s)";
inline constexpr const char* kOverwriteQuestion = "%sは既に存在します。\n上書きしますか？\n";
inline constexpr const char* kSaveAsCaption = "名前を付けて保存";
inline constexpr const char* kListFileDamaged = "【エラー】リストファイルが壊れています。(%s)";

// Paths named on the command line.
inline constexpr const char* kNamedPathMissing = "【エラー】以下のファイルは存在しません。(%s)";

// Paths chosen in the file dialogs.
inline constexpr const char* kChosenPathNotFound =
    "【エラー】選択されたファイルを特定できませんでした。(%s)";
inline constexpr const char* kChosenPathAmbiguous =
    "【エラー】同じ表示名のファイルが複数あるため、選択されたファイルを特定できません。(%s)";

// Windows and dialogs.
inline constexpr const char* kAppTitle = "Morvane";
inline constexpr const char* kRowLockPane = "\t行ロック";
inline constexpr const char* kRegisteredCount = "\t登録総数 : %d";
inline constexpr const char* kEmptyListHint =
    "ここにファイルやフォルダをドロップするか、「登録」(%s) でリストに追加します。";
inline constexpr const char* kListName = "ファイルの一覧";
inline constexpr const char* kLogName = "ログ";
inline constexpr const char* kIconColumnName = "アイコン";
inline constexpr const char* kErrorRowsPane = "エラー : %d";
inline constexpr const char* kErrorRowsTip =
    "最初のエラー行へ移動 (次のエラー行 : F8、前のエラー行 : Shift+F8)";
inline constexpr const char* kProgressCaption = "登録中";
inline constexpr const char* kRegisterFilesFilter = "すべてのファイル (*)";
inline constexpr const char* kListFileFilter = "Morvane Format(*.mvf)";
inline constexpr const char* kOptionsCaption = "環境設定";
inline constexpr const char* kOptRegisterFolders = "フォルダをリスト登録の対象に含める";
inline constexpr const char* kOptRegisterBelow = "フォルダ登録時に下層のファイルをすべて登録する";
inline constexpr const char* kOptOpenOnSelection =
    "項目をダブルクリックかエンターキーで選択時にファイルを開く";
inline constexpr const char* kOptFolderNavigation =
    "フォルダ選択時に中身を展開するエクスプロラー風の動作（キーボード誤操作に注意)";
inline constexpr const char* kOptAddToOpenWindow =
    "ファイルを指定して起動したとき、開いているウィンドウのリストに追加する";
inline constexpr const char* kOptUseEditor = "外部テキストエディタを指定する";
inline constexpr const char* kOptTerminalEditor = "端末で $EDITOR を使う (&T)";
inline constexpr const char* kOptTerminalEditorTip =
    "$VISUAL か $EDITOR (なければ nano か vi) を端末で開きます。";
inline constexpr const char* kOptEditorCommand =
    "外部テキストエディタのコマンドライン (%f はテキストファイル)";
inline constexpr const char* kOptBrowse = "参照";
inline constexpr const char* kOptOk = "OK";
inline constexpr const char* kOptCancel = "キャンセル";
inline constexpr const char* kEditorFilter = "テキストエディタ実行ファイル (*)";
inline constexpr const char* kAboutCaption = "Morvane について";
inline constexpr const char* kAboutVersion = "Morvane Ver0.91b";
inline constexpr const char* kAboutLine = "ファイルとフォルダの名前をまとめて変更します";
inline constexpr const char* kAboutOk = "OK";

// Name tools.
inline constexpr const char* kNameToolsStart =
    "【一括変更】名前の一括変更を開始します --------------------------- [START]\n";
inline constexpr const char* kNameToolsEnd =
    "\n【一括変更】名前の一括変更を終了します --------------------------- [END]\n";
inline constexpr const char* kNameToolsSummary =
    "【一括変更】%d 件の新しい名前が変わりました。エラーのある名前は %d 件です。";
inline constexpr const char* kNameToolsExifFallback =
    "【警告】EXIF の撮影日時がない %d 件は更新日時を使いました。";
inline constexpr const char* kNameToolsComputing = "新しい名前を作っています";
inline constexpr const char* kNameToolsStopped =
    "【一括変更】中断しました。新しい名前は変わっていません。";
inline constexpr const char* kNameToolsStepFailed =
    "【エラー】%s。この行の新しい名前は変わりません。 : %s";
inline constexpr const char* kNameToolsMissingFields =
    "【警告】ファイルにない欄がある %d 件は、その欄を空にしました。";
inline constexpr const char* kNameToolsMissingNote = "ファイルにない欄 : %s";
inline constexpr const char* kNameToolsNoFreeName = "重ならない名前が見つかりません";
inline constexpr const char* kNameToolsNoRows = "【エラー】名前を変更できる行がありません。";
inline constexpr const char* kPresetsDamaged =
    "【エラー】プリセットファイルが壊れているため読み込めません。ファイルは書き換えません。(%s : "
    "%s)";
inline constexpr const char* kPresetsChanged =
    "【エラー】プリセットファイルが読み込んだ後に変更されたため、保存しませんでした。変更を読み込み"
    "直しました"
    "ので、もう一度操作してください。(%s)";
inline constexpr const char* kPresetsNotSaved =
    "【エラー】プリセットを保存できませんでした。(%s : %s)";

}  // namespace msg
}  // namespace morvane

#include "ui/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <cstdlib>

#include "platform/ArgumentPaths.h"
#include "ui/QtText.h"

namespace morvane {
namespace {

constexpr const char* kHelpJapanese =
    "使い方: morvane [オプション]… [パス]…\n"
    "ファイルやフォルダの名前をまとめて変更します。\n"
    "\n"
    "リストファイル (*.mvf) はそのリストを読み込み、それ以外のファイルやフォルダは\n"
    "リストにドロップしたときと同じように登録します。リストファイルかどうかは\n"
    "ファイルの中身で判断します。パスが - のときは、標準入力から 1 行に 1 つずつ\n"
    "パスを読み込みます。\n"
    "\n"
    "  -a, --add         開いているウィンドウのリストに追加する\n"
    "                    (開いているウィンドウがなければ新しく開く)\n"
    "  -n, --new-window  環境設定にかかわらず新しいウィンドウを開く\n"
    "  -0, --null        標準入力のパスを改行ではなく NUL 文字で区切る\n"
    "                    (find -print0 の出力を読み込むとき)\n"
    "  -h, --help        このヘルプを表示して終了する\n"
    "  -v, --version     バージョンを表示して終了する\n"
    "\n"
    "例:\n"
    "  morvane ~/写真/*.jpg ~/スキャン\n"
    "  find . -name '*.JPG' -print0 | morvane -0 -\n"
    "\n"
    "終了ステータス: 0 正常終了、1 ウィンドウを作成できなかった、2 コマンドラインの誤り\n";

constexpr const char* kHelpEnglish =
    "Usage: morvane [OPTION]... [PATH]...\n"
    "Rename many files and folders at once.\n"
    "\n"
    "A list file (*.mvf) is loaded; any other file or folder is registered as if it\n"
    "were dropped on the list. A list file is told by its content, not by its name.\n"
    "A PATH of - reads paths from the standard input, one per line.\n"
    "\n"
    "  -a, --add         add the paths to the window already open\n"
    "                    (or open one when none is)\n"
    "  -n, --new-window  open a new window whatever the settings say\n"
    "  -0, --null        paths on the standard input end with NUL, not a line feed\n"
    "                    (for the output of find -print0)\n"
    "  -h, --help        show this help and exit\n"
    "  -v, --version     show the version and exit\n"
    "\n"
    "Examples:\n"
    "  morvane ~/Pictures/*.jpg ~/scans\n"
    "  find . -name '*.JPG' -print0 | morvane -0 -\n"
    "\n"
    "Exit status: 0 success, 1 the window could not be created, 2 a wrong command line.\n"
    "The window itself is in Japanese.\n";

CommandLine Failed(std::string text, bool english) {
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.output = "morvane: " + std::move(text) + "\n" +
                  (english ? "Try 'morvane --help' for more information.\n"
                           : "使い方は morvane --help で表示できます。\n");
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& workingDirectory, bool english,
                             const std::function<bool(std::string*)>& readInput) {
    QCommandLineParser parser;
    const QCommandLineOption add(QStringList{QStringLiteral("a"), QStringLiteral("add")});
    const QCommandLineOption newWindow(
        QStringList{QStringLiteral("n"), QStringLiteral("new-window")});
    const QCommandLineOption null(QStringList{QStringLiteral("0"), QStringLiteral("null")});
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({add, newWindow, null, help, version});

    // The bytes of a name that is not UTF-8 cross into the parser and back unchanged.
    QStringList texts{QStringLiteral("morvane")};
    for (const std::string& argument : arguments)
        texts << NameForEditing(argument);
    if (!parser.parse(texts)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return Failed(Utf8(parser.errorText()), english);
        const QString first = unknown.constFirst();
        const std::string shown =
            NameBytes((first.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + first);
        return Failed((english ? "unknown option: " : "不明なオプションです: ") + shown, english);
    }

    CommandLine line;
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
        line.output = english ? kHelpEnglish : kHelpJapanese;
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        line.output = std::string("Morvane ") + MORVANE_VERSION + "\n";
        return line;
    }
    if (parser.isSet(add) && parser.isSet(newWindow)) {
        return Failed(english ? "--add and --new-window exclude each other"
                              : "--add と --new-window は同時に指定できません",
                      english);
    }
    line.window = parser.isSet(add)         ? StartWindow::Running
                  : parser.isSet(newWindow) ? StartWindow::New
                                            : StartWindow::AsSet;

    const char separator = parser.isSet(null) ? '\0' : '\n';
    bool inputRead = false;
    const auto append = [&](const std::string& path) {
        // Without a working directory a relative path could only name the wrong file.
        if (path.front() == '/' || !workingDirectory.empty())
            line.paths.push_back(AbsolutePath(workingDirectory, path));
    };
    for (const QString& positional : parser.positionalArguments()) {
        const std::string path = NameBytes(positional);
        if (path.empty())
            continue;
        if (path != "-") {
            append(path);
            continue;
        }
        // The input can be read only once; a second "-" finds it at its end.
        std::string input;
        if (inputRead || !readInput(&input))
            continue;
        inputRead = true;
        for (const std::string& listed : SplitPathList(input, separator))
            append(listed);
    }
    return line;
}

bool EnglishMessages() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value[0] == 'e' && value[1] == 'n';
    }
    return false;
}

}  // namespace morvane

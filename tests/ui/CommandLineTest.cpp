// The command line as main reads it, before any window: options, paths, the standard input.

#include <unistd.h>
#include <QTest>

#include <string>
#include <vector>

#include "app/CMorvaneApp.h"
#include "platform/ArgumentPaths.h"
#include "platform/FileSystem.h"
#include "platform/ReadToEnd.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"
#include "ui/CommandLine.h"

namespace morvane {
namespace {

using Paths = std::vector<std::string>;
using Action = CommandLine::Action;

// Fails the test when called: a command line without "-" must not read the input.
bool NoInput(std::string*) {
    QTest::qFail("the standard input was read", __FILE__, __LINE__);
    return false;
}

CommandLine Parse(const Paths& arguments, bool english = false) {
    return ParseCommandLine(arguments, "/w", english, NoInput);
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void pathsKeepTheirOrderAndBecomeFull() {
        const CommandLine line =
            Parse({"photo.jpg", "../scans/", "/a/./b", "", "caf\xe9.jpg", "--", "-x", "--add"});
        QCOMPARE(line.action, Action::Start);
        QCOMPARE(line.window, StartWindow::AsSet);
        QCOMPARE(line.paths,
                 (Paths{"/w/photo.jpg", "/scans", "/a/b", "/w/caf\xe9.jpg", "/w/-x", "/w/--add"}));
        // Options may follow paths.
        QCOMPARE(Parse({"a", "--add", "b"}).paths, (Paths{"/w/a", "/w/b"}));
        QCOMPARE(Parse({"a", "--add", "b"}).window, StartWindow::Running);
    }

    void theWindowOptions() {
        QCOMPARE(Parse({"-a", "x"}).window, StartWindow::Running);
        QCOMPARE(Parse({"--new-window"}).window, StartWindow::New);
        QCOMPARE(Parse({"-n"}).window, StartWindow::New);
        const CommandLine both = Parse({"-an", "x"});
        QCOMPARE(both.action, Action::Error);
        QCOMPARE(both.output, std::string("morvane: --add と --new-window は同時に指定できません\n"
                                          "使い方は morvane --help で表示できます。\n"));
    }

    void helpVersionAndUnknownOptions() {
        const CommandLine help = Parse({"photo.jpg", "--help"});
        QCOMPARE(help.action, Action::Help);
        QVERIFY(help.output.starts_with("使い方: morvane [オプション]… [パス]…\n"));
        for (const char* option : {"--add", "--new-window", "--null", "--help", "--version"})
            QVERIFY2(help.output.find(option) != std::string::npos, option);
        QCOMPARE(Parse({"-h"}).action, Action::Help);
        const CommandLine english = Parse({"-h"}, true);
        QVERIFY(english.output.starts_with("Usage: morvane [OPTION]... [PATH]...\n"));

        const CommandLine version = Parse({"--version"});
        QCOMPARE(version.action, Action::Version);
        QCOMPARE(version.output, std::string("Morvane ") + MORVANE_VERSION + "\n");
        QCOMPARE(Parse({"-v"}).action, Action::Version);

        const CommandLine unknown = Parse({"photo.jpg", "--frobnicate"});
        QCOMPARE(unknown.action, Action::Error);
        QCOMPARE(unknown.output, std::string("morvane: 不明なオプションです: --frobnicate\n"
                                             "使い方は morvane --help で表示できます。\n"));
        QCOMPARE(Parse({"-q"}, true).output,
                 std::string("morvane: unknown option: -q\n"
                             "Try 'morvane --help' for more information.\n"));
        QCOMPARE(Parse({"--add=x"}).action, Action::Error);
        QVERIFY(unknown.paths.empty());
    }

    void aDashReadsTheStandardInputOnce() {
        int calls = 0;
        const auto input = [&](std::string* text) {
            ++calls;
            *text = std::string("b\0/c d\n\0", 8);
            return true;
        };
        CommandLine line = ParseCommandLine({"a", "-0", "-", "e", "-"}, "/w", false, input);
        QCOMPARE(line.paths, (Paths{"/w/a", "/w/b", "/c d\n", "/w/e"}));
        QCOMPARE(calls, 1);
        // One a line by default, a list written on Windows as well.
        line = ParseCommandLine({"-"}, "/w", false, [](std::string* text) {
            *text = "x\n\n/y z\r\n";
            return true;
        });
        QCOMPARE(line.paths, (Paths{"/w/x", "/y z"}));
        // Without a working directory only full paths can be told.
        QCOMPARE(ParseCommandLine({"a", "/b"}, "", false, NoInput).paths, Paths{"/b"});
    }

    void findPrint0ThroughAPipeRegistersNamesThatAreNotUtf8() {
        // `find . -print0 | morvane -0 -`, from the pipe to the rows.
        test::TempDir dir;
        const std::string odd = dir.MakeFile("find/IMG_\xff\xfe.JPG");
        dir.MakeFile("find/other.txt");
        int ends[2];
        QCOMPARE(pipe(ends), 0);
        const std::string found = std::string("./IMG_\xff\xfe.JPG") + '\0';
        QCOMPARE(write(ends[1], found.data(), found.size()), static_cast<ssize_t>(found.size()));
        close(ends[1]);
        const CommandLine line =
            ParseCommandLine({"-0", "-"}, dir / "find", false,
                             [&](std::string* text) { return ReadToEnd(ends[0], text); });
        close(ends[0]);
        QCOMPARE(line.paths, Paths{odd});

        test::FakeHost host;
        CMorvaneApp app(host, RealFileSystem());
        StartupEnvironment env;
        env.programDir = dir.MakeFolder("prog");
        env.tempDir = dir.MakeFolder("tmp");
        env.settingsPath = dir / "prog/config.ini";
        QCOMPARE(app.StartUp(line.paths, env, line.window), CMorvaneApp::StartResult::Running);
        QCOMPARE(app.List().RowCount(), 1);
        QCOMPARE(app.List().EntryAt(0)->currentKey, odd);
        app.ShutDown();
    }

    void englishOnlyWhenTheLocaleSaysSo() {
        const QByteArray saved = qgetenv("LC_ALL");
        qputenv("LC_ALL", "en_GB.UTF-8");
        QVERIFY(EnglishMessages());
        qputenv("LC_ALL", "ja_JP.UTF-8");
        QVERIFY(!EnglishMessages());
        qputenv("LC_ALL", "C.UTF-8");
        QVERIFY(!EnglishMessages());
        qputenv("LC_ALL", saved);
    }
};

}  // namespace morvane

QTEST_GUILESS_MAIN(morvane::CommandLineTest)
#include "CommandLineTest.moc"

// Saving list files, the three list-file commands and list files on the command line.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "core/ListFileFixture.h"
#include "formats/ListFileFormat.h"
#include "host/Messages.h"
#include "platform/FileSystem.h"
#include "support/FakeHost.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

using test::FakeHost;
using test::FaultFileSystem;
using test::ReadFileText;
using test::TempDir;

class ListFileSaveTest : public test::ListFileFixture, public ::testing::Test {
protected:
    void Register(const std::vector<std::string>& paths) {
        Registration::Run run(registration);
        for (const auto& p : paths)
            registration.RegisterPath(p);
    }

    struct Shown {
        std::string key, name;
        bool operator==(const Shown&) const = default;
    };
    static std::vector<Shown> Rows(ListModel& of) {
        std::vector<Shown> rows;
        for (int r = 0; r < of.RowCount(); ++r)
            rows.push_back({of.EntryAt(r)->currentKey, std::string(of.Cell(r, ColNewName))});
        return rows;
    }
};

TEST_F(ListFileSaveTest, EmptyListIsTwentyBytes) {
    const std::string path = dir / "empty.mvf";
    ASSERT_TRUE(listFile.SaveListFile(path));
    EXPECT_EQ(ReadFileText(path), std::string("MVF\0\0\x01\0\x14\0\0\0\0\0\0\0\0\0\0\0\x02", 20));
    EXPECT_EQ(listFile.ListFilePath(), path);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(ListFileSaveTest, RoundTripKeepsPathsAndNamesInOrder) {
    const std::string latin1 = dir.MakeFile("caf\xE9.txt");  // not valid UTF-8
    const std::string kana = dir.MakeFile("\xE3\x81\x82.txt");
    const std::string folder = dir.MakeFolder("Folder");
    const std::string plain = dir.MakeFile("plain.txt");
    Register({plain, latin1, folder, kana});
    ASSERT_EQ(list.RowCount(), 4);
    validation.SetNewName(0, "\xFF\xFEraw.txt");
    validation.SetNewName(1, "\xE3\x81\x84.txt");
    validation.SetNewName(2, "");  // blank, kept as blank
    const std::vector<Shown> before = Rows(list);

    const std::string path = dir / "list.mvf";
    ASSERT_TRUE(listFile.SaveListFile(path));
    const std::string bytes = ReadFileText(path);
    // The first record right after the header: tag 0, length, path; tag 1, length, name.
    std::string first;
    listfile::PutFixed8(&first, 0);
    listfile::PutFixed32(&first, static_cast<std::uint32_t>(plain.size()));
    first += plain;
    listfile::PutFixed8(&first, 1);
    listfile::PutFixed32(&first, 9);
    first += "\xFF\xFEraw.txt";
    EXPECT_EQ(bytes.substr(20, first.size()), first);

    // A second list with parts of its own loads the file.
    test::ListFileFixture other;
    ASSERT_TRUE(other.listFile.LoadListFile(path));
    EXPECT_EQ(Rows(other.list), before);
    EXPECT_EQ(other.list.EntryAt(0)->NewPath(), dir / "\xFF\xFEraw.txt");
    EXPECT_EQ(other.list.EntryAt(2)->errors & ErrBlank, ErrBlank);
    EXPECT_EQ(other.list.Cell(3, ColRowNumber), "4");

    // Saving what was loaded gives the same bytes.
    ASSERT_TRUE(other.listFile.SaveListFile(dir / "again.mvf"));
    EXPECT_EQ(ReadFileText(dir / "again.mvf"), bytes);
}

TEST_F(ListFileSaveTest, FailedSaveKeepsTheEarlierFileAndSaysWhy) {
    Register({dir.MakeFile("a.txt")});
    const std::string path = dir.MakeFile("old.mvf", "earlier content");
    listFile.SetListFilePath(path);
    log.ClearLog();
    fs.failWrite = [](const std::string&) { return ENOSPC; };

    EXPECT_FALSE(listFile.SaveListFile(dir / "new.mvf"));
    EXPECT_EQ(listFile.ListFilePath(), path);
    listFile.OnOverwriteSaveListFile();
    EXPECT_EQ(ReadFileText(path), "earlier content");
    const std::string full = std::strerror(ENOSPC);
    EXPECT_EQ(log.Text(), "\n【エラー】リストファイルを保存できませんでした。(" +
                              (dir / "new.mvf") + " : " + full +
                              ")\n【エラー】リストファイルを保存できませんでした。(" + path +
                              " : " + full + ")");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "old.mvf"}));

    fs.failWrite = nullptr;
    log.ClearLog();
    listFile.OnOverwriteSaveListFile();
    EXPECT_EQ(ReadFileText(path).substr(0, 3), "MVF");
    EXPECT_EQ(log.Text(), "\n【保存】上書き保存しました。(" + path + ")");
}

TEST_F(ListFileSaveTest, SaveAsAsksBeforeReplacingAFile) {
    Register({dir.MakeFile("a.txt")});
    const std::string existing = dir.MakeFile("exists.mvf", "keep me");
    const std::string fresh = dir / "fresh.mvf";

    host.listFilesToSave = {existing};
    host.yesNoAnswers = {false};
    listFile.OnSaveListFileAs();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, existing + "は既に存在します。\n上書きしますか？\n");
    EXPECT_EQ(host.questions[0].caption, "名前を付けて保存");
    EXPECT_EQ(ReadFileText(existing), "keep me");
    EXPECT_TRUE(listFile.ListFilePath().empty());

    host.listFilesToSave = {existing};
    host.yesNoAnswers = {true};
    listFile.OnSaveListFileAs();
    EXPECT_EQ(ReadFileText(existing).substr(0, 3), "MVF");
    EXPECT_EQ(listFile.ListFilePath(), existing);

    // A new file is written without a question; a cancelled dialog does nothing.
    host.listFilesToSave = {fresh};
    listFile.OnSaveListFileAs();
    EXPECT_EQ(host.questions.size(), 2u);
    EXPECT_TRUE(test::PathExists(fresh));
    listFile.OnSaveListFileAs();
    EXPECT_EQ(listFile.ListFilePath(), fresh);
    EXPECT_EQ(log.Text().find("【保存】"), std::string::npos);
}

TEST_F(ListFileSaveTest, OverwriteSaveWithoutAListFileIsSaveAs) {
    Register({dir.MakeFile("a.txt")});
    const std::string chosen = dir / "chosen.mvf";
    host.listFilesToSave = {chosen};
    listFile.OnOverwriteSaveListFile();
    EXPECT_TRUE(host.listFilesToSave.empty());
    EXPECT_EQ(listFile.ListFilePath(), chosen);
    EXPECT_TRUE(test::PathExists(chosen));
}

// Start-up itself loads the files here, so each start is the whole program.
TEST_F(ListFileSaveTest, CommandLineListFilesLoadInOrderAndTheLastWins) {
    const std::string a = dir.MakeFile("a.txt");
    const std::string b = dir.MakeFile("b.txt");
    const std::string c = dir.MakeFile("c.txt");
    Register({a, b});
    validation.SetNewName(1, "B.txt");
    ASSERT_TRUE(listFile.SaveListFile(dir / "first.mvf"));
    removal.ClearAllRows();
    Register({c});
    validation.SetNewName(0, "C.txt");
    ASSERT_TRUE(listFile.SaveListFile(dir / "second.mvf"));

    FakeHost startHost;
    CMorvaneApp started(startHost, RealFileSystem());
    StartupEnvironment env;
    env.programDir = dir.path();
    env.configHome = dir / "config";
    env.tempDir = dir.path() + "/";
    env.settingsPath = dir / "config.ini";
    ASSERT_EQ(started.StartUp({dir / "first.mvf", dir / "second.mvf"}, env),
              CMorvaneApp::StartResult::Running);
    EXPECT_EQ(Rows(started.List()), (std::vector<Shown>{{c, "C.txt"}}));
    EXPECT_EQ(AppInternals::ListFiles(started).ListFilePath(), dir / "second.mvf");
    EXPECT_FALSE(AppInternals::Busy(started).Busy());

    // An argument that cannot be read changes nothing; start-up goes on to the next one.
    FakeHost thirdHost;
    CMorvaneApp third(thirdHost, RealFileSystem());
    ASSERT_EQ(third.StartUp({dir / "first.mvf", dir / "nothing.mvf"}, env),
              CMorvaneApp::StartResult::Running);
    EXPECT_EQ(Rows(third.List()), (std::vector<Shown>{{a, "a.txt"}, {b, "B.txt"}}));
    EXPECT_EQ(AppInternals::ListFiles(third).ListFilePath(), dir / "first.mvf");
}

}  // namespace
}  // namespace morvane

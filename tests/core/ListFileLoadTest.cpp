// Loading list files into the list: real files in a temporary folder, real
// registration and validation, a scripted host.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ListFileFixture.h"
#include "formats/ListFileFormat.h"
#include "host/Messages.h"
#include "model/FileEntry.h"
#include "platform/FileSystem.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

using test::FakeHost;
using test::TempDir;

struct Stored {
    std::uint8_t tag;
    std::string text;
};

// A list file made by hand, so tests can write what the program never writes.
std::string HandMade(const std::vector<std::vector<Stored>>& records, std::uint8_t fields = 2,
                     std::uint32_t version = listfile::kVersion, std::int64_t countDelta = 0) {
    std::string body;
    for (const auto& record : records) {
        for (const auto& field : record) {
            listfile::PutFixed8(&body, field.tag);
            listfile::PutFixed32(&body, static_cast<std::uint32_t>(field.text.size()));
            body += field.text;
        }
    }
    std::string bytes(listfile::kMagic);
    listfile::PutFixed32(&bytes, version);
    listfile::PutFixed64(&bytes, listfile::kHeaderSize + body.size());
    listfile::PutFixed32(&bytes, static_cast<std::uint32_t>(records.size() + countDelta));
    listfile::PutFixed8(&bytes, fields);
    return bytes + body;
}

std::vector<Stored> Row(const std::string& path, const std::string& name) {
    return {{0, path}, {1, name}};
}

class ListFileLoadTest : public test::ListFileFixture, public ::testing::Test {
protected:
    void Register(const std::vector<std::string>& paths) {
        Registration::Run run(registration);
        for (const auto& p : paths)
            registration.RegisterPath(p);
    }

    std::string Key(int row) { return list.EntryAt(row)->currentKey; }
    std::string Name(int row) { return std::string(list.Cell(row, ColNewName)); }
    bool Logged(const std::string& line) { return log.Text().find(line) != std::string::npos; }
    void ExpectIdle() {
        EXPECT_FALSE(busy.Busy());
        EXPECT_EQ(busy.Depth(), 0);
        EXPECT_FALSE(host.progressOpen);
        EXPECT_TRUE(list.CurrentPathIndex().IsConsistent());
        EXPECT_TRUE(list.NewPathIndex().IsConsistent());
        EXPECT_EQ(list.CurrentPathIndex().CountEntries(),
                  static_cast<std::size_t>(list.RowCount()));
    }
};

TEST_F(ListFileLoadTest, EmptyFileEmptiesTheListAndBecomesTheListFile) {
    Register({dir.MakeFile("a.txt")});
    ASSERT_EQ(list.RowCount(), 1);
    const std::string path = dir.MakeFile("empty.mvf", HandMade({}));

    EXPECT_TRUE(listFile.LoadListFile(path));
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(listFile.ListFilePath(), path);
    EXPECT_TRUE(Logged(msg::kRegisterStart));
    EXPECT_TRUE(Logged(msg::kRegisterEnd));
    EXPECT_EQ(host.registeredCount, 0);
    ExpectIdle();
}

TEST_F(ListFileLoadTest, HeaderMismatchLoadsNothingAndLeavesNoListFile) {
    const std::string a = dir.MakeFile("a.txt");
    const std::string good = HandMade({Row(a, "b.txt")});
    struct Case {
        const char* what;
        std::string bytes;
        bool loads;
    };
    std::string longer = good + "x";  // length field one short of the real size
    std::string shorter = good;
    listfile::EncodeFixed64(&shorter[listfile::kLengthOffset], good.size() + 1);
    std::string magic = good;
    magic[2] = 'G';
    const Case cases[] = {
        {"length one short", longer, false},
        {"length one over", shorter, false},
        {"bad magic", magic, false},
        {"version 0x00020000", HandMade({Row(a, "b.txt")}, 2, 0x00020000), false},
        {"version 0x0001FFFF", HandMade({Row(a, "b.txt")}, 2, 0x0001FFFF), true},
        {"plain text", "this is not a list file\n", false},
        {"empty file", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Register({dir.MakeFile("other.txt")});
        const std::string previous = dir.MakeFile("previous.mvf", "earlier list");
        listFile.SetListFilePath(previous);
        const std::string path = dir.MakeFile("case.mvf", c.bytes);

        EXPECT_TRUE(listFile.LoadListFile(path));
        if (c.loads) {
            ASSERT_EQ(list.RowCount(), 1);
            EXPECT_EQ(Key(0), a);
            EXPECT_EQ(Name(0), "b.txt");
            EXPECT_EQ(listFile.ListFilePath(), path);
        } else {
            // The list is emptied all the same; neither file is the list's file any more, so
            // an overwrite-save asks for a name (cancelled here) and replaces nothing.
            EXPECT_EQ(list.RowCount(), 0);
            EXPECT_TRUE(listFile.ListFilePath().empty());
            listFile.OnOverwriteSaveListFile();
            EXPECT_EQ(test::ReadFileText(previous), "earlier list");
            EXPECT_EQ(log.Text(),
                      std::string("\n") + msg::kRegisterStart + "\n" + msg::kRegisterEnd);
        }
        ExpectIdle();
    }

    // A later overwrite-save must not touch a file that failed its header.
    listFile.SetListFilePath({});
    const std::string text = dir.MakeFile("notes.txt", "my notes\n");
    EXPECT_TRUE(listFile.LoadListFile(text));
    listFile.OnOverwriteSaveListFile();  // save-as dialog, cancelled
    EXPECT_EQ(test::ReadFileText(text), "my notes\n");
    EXPECT_TRUE(listFile.ListFilePath().empty());
}

TEST_F(ListFileLoadTest, UnreadableFileReturnsFalseAndKeepsTheList) {
    Register({dir.MakeFile("a.txt")});
    EXPECT_FALSE(listFile.LoadListFile(dir / "missing.mvf"));
    EXPECT_FALSE(listFile.LoadListFile(dir.MakeFolder("folder.mvf")));
    // A pipe is not read: it would never end.
    ASSERT_EQ(mkfifo((dir / "pipe.mvf").c_str(), 0600), 0);
    EXPECT_FALSE(listFile.LoadListFile(dir / "pipe.mvf"));
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_TRUE(listFile.ListFilePath().empty());
    ExpectIdle();
}

TEST_F(ListFileLoadTest, AFileFarLargerThanAnyListIsNotReadWhole) {
    Register({dir.MakeFile("a.txt")});
    const std::string huge = dir.MakeFile("video.mvf", "MVF");
    ASSERT_EQ(truncate(huge.c_str(), (std::int64_t{1} << 30) + 1), 0);  // sparse
    EXPECT_TRUE(listFile.LoadListFile(huge));                           // opened, but no list file
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_TRUE(listFile.ListFilePath().empty());
    ExpectIdle();
}

TEST_F(ListFileLoadTest, RecordsRegisterWithTheirNamesInOrder) {
    const std::string a = dir.MakeFile("a.txt");
    const std::string b = dir.MakeFile("b.txt");
    const std::string c = dir.MakeFile("c.txt");
    const std::string sub = dir.MakeFolder("sub");
    const std::string gone = dir / "gone.txt";
    const std::string file = dir.MakeFile(
        "list.mvf", HandMade(
                        {
                            // A third field of an unknown tag is skipped by its length.
                            {{0, a}, {7, "ignored"}, {1, "A.txt"}},
                            {{0, gone}, {7, ""}, {1, "never"}},
                            {{0, a}, {7, "x"}, {1, "second a"}},   // already registered
                            {{1, "first"}, {0, b}, {1, "B.txt"}},  // last tag wins
                            {{0, sub}, {7, "y"}, {1, "folder"}},
                            {{0, c}, {7, "z"}, {1, "bad/name"}},
                        },
                        3));

    EXPECT_TRUE(listFile.LoadListFile(file));
    ASSERT_EQ(list.RowCount(), 4);
    EXPECT_EQ(Key(0), a);
    EXPECT_EQ(Name(0), "A.txt");
    EXPECT_EQ(list.EntryAt(0)->NewPath(), dir / "A.txt");
    EXPECT_EQ(Key(1), b);
    EXPECT_EQ(Name(1), "B.txt");
    EXPECT_EQ(Key(2), sub);
    EXPECT_EQ(Name(2), "folder");
    EXPECT_EQ(Key(3), c);
    EXPECT_EQ(Name(3), "bad/name");
    EXPECT_EQ(list.Cell(3, ColCharCount), "8");
    EXPECT_EQ(list.EntryAt(3)->errors & ErrForbidden, ErrForbidden);
    EXPECT_EQ(list.EntryAt(0)->errors, 0u);
    EXPECT_EQ(list.Cell(3, ColRowNumber), "4");

    // The missing path, with the doubled parenthesis; the forbidden name as if typed.
    EXPECT_TRUE(Logged("【エラー】以下のファイルは存在しません。(" + gone + "))"));
    EXPECT_TRUE(Logged(FormatText(msg::kForbidden, 4, "bad/name")));
    EXPECT_FALSE(Logged("second a"));
    EXPECT_EQ(listFile.ListFilePath(), file);

    // Progress: the last registered record, fraction i / count.
    EXPECT_EQ(host.overallText, c);
    EXPECT_EQ(host.detailText, "bad/name");
    ASSERT_FALSE(host.overallProgress.empty());
    EXPECT_FLOAT_EQ(host.overallProgress.back(), 5.0f / 6.0f);
    EXPECT_FLOAT_EQ(host.detailProgress.back(), 1.0f);
    ExpectIdle();
    // The trial renames left the folder as it was.
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "list.mvf", "sub"}));
}

TEST_F(ListFileLoadTest, SwapsAndChainsLoadWithoutAnError) {
    // Pairs that swap their names, then chains of ten where each file takes the next one's
    // name and the last a free one: every row wants a file that registers after it.
    std::vector<std::vector<Stored>> records;
    const auto file = [](int i) { return "f" + std::to_string(10000 + i); };
    for (int i = 0; i < 2000; ++i)
        dir.MakeFile("many/" + file(i));
    for (int i = 0; i < 2000; ++i) {
        std::string name;
        if (i < 1000) {
            name = file(i % 2 == 0 ? i + 1 : i - 1);
        } else {
            name = i % 10 == 9 ? "free" + std::to_string(i) : file(i + 1);
        }
        records.push_back(Row(dir / ("many/" + file(i)), name));
    }
    const std::string list2000 = dir.MakeFile("swaps.mvf", HandMade(records));

    EXPECT_TRUE(listFile.LoadListFile(list2000));
    ASSERT_EQ(list.RowCount(), 2000);
    EXPECT_EQ(log.Text().find("【エラー】"), std::string::npos);
    for (int row = 0; row < 2000; ++row) {
        ASSERT_EQ(list.EntryAt(row)->errors, 0u) << row;
        ASSERT_TRUE(list.EntryAt(row)->Moves()) << row;
    }
    EXPECT_EQ(Name(0), file(1));
    EXPECT_EQ(Name(1999), "free1999");
    ExpectIdle();
}

TEST_F(ListFileLoadTest, ARealDuplicateIsAllTheLogSays) {
    const std::string c = dir.MakeFile("c.txt"), d = dir.MakeFile("d.txt");
    const std::string a = dir.MakeFile("a.txt"), b = dir.MakeFile("b.txt");
    const std::string file = dir.MakeFile(
        "dup.mvf", HandMade({Row(c, "d.txt"), Row(d, "c.txt"), Row(a, "same"), Row(b, "same")}));

    EXPECT_TRUE(listFile.LoadListFile(file));
    ASSERT_EQ(list.RowCount(), 4);
    std::vector<std::string> errors;
    std::size_t at = 0;
    while ((at = log.Text().find("【エラー】", at)) != std::string::npos) {
        const std::size_t end = log.Text().find('\n', at);
        errors.push_back(log.Text().substr(at, end - at));
        at = end;
    }
    EXPECT_EQ(errors, (std::vector<std::string>{FormatText(msg::kDuplicate, 4, 3),
                                                FormatText(msg::kDuplicate, 3, 4)}));
    EXPECT_EQ(list.EntryAt(0)->errors | list.EntryAt(1)->errors, 0u);
    EXPECT_EQ(list.EntryAt(2)->errors, std::uint32_t{ErrDuplicate});
    EXPECT_EQ(list.EntryAt(3)->errors, std::uint32_t{ErrDuplicate});
    // Before the end banner, as the load's other messages.
    EXPECT_LT(log.Text().find(errors[1]), log.Text().find(msg::kRegisterEnd));
    ExpectIdle();
}

TEST_F(ListFileLoadTest, DamagedFileKeepsTheRowsReadAndSaysSo) {
    const std::string a = dir.MakeFile("a.txt");
    const std::string b = dir.MakeFile("b.txt");
    const std::string damaged = "【エラー】リストファイルが壊れています。(";

    // Two records present, three announced.
    const std::string fewer = dir.MakeFile(
        "fewer.mvf", HandMade({Row(a, "x.txt"), Row(b, "y.txt")}, 2, listfile::kVersion, 1));
    listFile.SetListFilePath(dir.MakeFile("previous.mvf"));
    EXPECT_TRUE(listFile.LoadListFile(fewer));
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(Name(1), "y.txt");
    EXPECT_TRUE(Logged(damaged + fewer + ")"));
    // The error comes before the end banner of the load.
    EXPECT_LT(log.Text().find(damaged), log.Text().find(msg::kRegisterEnd));
    // Its unread records would be lost by an overwrite-save: not adopted.
    EXPECT_TRUE(listFile.ListFilePath().empty());
    ExpectIdle();

    // The second record's name runs past the end of the file.
    std::string bytes = HandMade({Row(a, "x.txt"), Row(b, "y.txt")});
    bytes[bytes.size() - 9] = '\x7F';  // low byte of the length of "y.txt": 5 -> 127
    const std::string pastEnd = dir.MakeFile("past.mvf", bytes);
    EXPECT_TRUE(listFile.LoadListFile(pastEnd));
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(Key(0), a);
    EXPECT_TRUE(Logged(damaged + pastEnd + ")"));
    ExpectIdle();
}

TEST_F(ListFileLoadTest, StoredTextsWithNulBytes) {
    const std::string a = dir.MakeFile("a.txt");
    const std::string b = dir.MakeFile("b.txt");
    // The path after the NUL would be ignored by the system: the record names no file.
    const std::string file = dir.MakeFile(
        "nul.mvf",
        HandMade({Row(a + std::string("\0tail", 5), "x"), Row(b, std::string("new\0rest", 8))}));
    EXPECT_TRUE(listFile.LoadListFile(file));
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(Key(0), b);
    EXPECT_EQ(Name(0), "new");
    EXPECT_TRUE(Logged("【エラー】以下のファイルは存在しません。(" + a + "))"));
}

TEST_F(ListFileLoadTest, ClosingTheProgressDialogStopsAfterTheCurrentRecord) {
    const std::string a = dir.MakeFile("a.txt");
    const std::string b = dir.MakeFile("b.txt");
    const std::string c = dir.MakeFile("c.txt");
    const std::string other = dir.MakeFile("other.mvf", HandMade({Row(c, "c2")}));
    const std::string file =
        dir.MakeFile("list.mvf", HandMade({Row(a, "a2"), Row(b, "b2"), Row(c, "c3")}));
    host.listFilesToLoad = {other};
    int rounds = 0;
    host.onPendingEvents = [&] {
        // A load asked for while this one runs does nothing.
        listFile.OnLoadListFile();
        if (++rounds == 2)
            CloseProgressDialog();
    };

    EXPECT_TRUE(listFile.LoadListFile(file));
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(Name(1), "b2");
    EXPECT_EQ(host.listFilesToLoad.size(), 1u);  // the nested command never asked
    EXPECT_TRUE(Logged(msg::kAborted));
    EXPECT_TRUE(Logged(msg::kRegisterEnd));
    // Its last record was never read: an overwrite-save would lose it.
    EXPECT_TRUE(listFile.ListFilePath().empty());
    ExpectIdle();
}

TEST_F(ListFileLoadTest, AListFileIsLoadedThroughALink) {
    const std::string a = dir.MakeFile("a.txt");
    dir.MakeFile("lists/real.mvf", HandMade({Row(a, "b.txt")}));
    const std::string link = dir / "link.mvf";
    ASSERT_EQ(symlink("lists/real.mvf", link.c_str()), 0);
    EXPECT_TRUE(listFile.LoadListFile(link));
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(Name(0), "b.txt");
    EXPECT_EQ(listFile.ListFilePath(), link);
    ExpectIdle();
}

}  // namespace
}  // namespace morvane

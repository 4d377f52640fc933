#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/AppInternals.h"
#include "app/Command.h"
#include "core/RowsFixture.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/nametools/NamePresets.h"
#include "ops/nametools/NameTools.h"
#include "support/AppFixture.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

std::vector<NameStep> EveryKind() {
    NumberStep number;
    number.start = -3;
    number.digits = 4;
    number.perFolder = true;
    number.place = NumberPlace::After;
    number.separator = " - ";
    DateStep date;
    date.source = DateSource::ExifOriginal;
    date.format = "%Y年%m月";
    date.from = Edge::End;
    ExtensionStep extension;
    extension.enabled = false;
    extension.action = ExtensionAction::Upper;
    return {ReplaceStep{true, "a \"q\" \\ b\tc", "${x}\n", true, false, false, NamePart::Whole},
            InsertStep{true, "  写真  ", 3, Edge::End},
            RemoveStep{true, 1, 2, Edge::End},
            number,
            CaseStep{true, CaseKind::Title, NamePart::Extension},
            WidthStep{true, WidthKind::KatakanaToHiragana, NamePart::Stem},
            date,
            extension};
}

TEST(NamePresetsTest, RoundTripRecentOrderAndDamagedFile) {
    test::TempDir dir;
    test::FaultFileSystem fs;
    NamePresets presets(fs);
    presets.SetPathBeside(dir / "conf/config.ini");
    presets.SetRecentFolder(dir / "state");
    ASSERT_TRUE(presets.Load());  // no file yet: no presets
    EXPECT_EQ(presets.Save({"写真 (日付)", EveryKind()}), "");
    EXPECT_EQ(presets.Save({"second", {CaseStep{}}}), "");

    NamePresets again(fs);
    again.SetPathBeside(dir / "conf/config.ini");
    again.SetRecentFolder(dir / "state");
    ASSERT_TRUE(again.Load()) << again.Damage();
    ASSERT_EQ(again.All().size(), 2u);
    EXPECT_EQ(again.All()[0].name, "写真 (日付)");  // the file's order
    EXPECT_EQ(again.Recent(), (std::vector<std::string>{"second", "写真 (日付)"}));
    EXPECT_EQ(WritePresets(again.All()), WritePresets(presets.All()));
    const auto& steps = again.All()[0].steps;
    EXPECT_EQ(std::get<ReplaceStep>(steps[0]).find, "a \"q\" \\ b\tc");
    EXPECT_EQ(std::get<ReplaceStep>(steps[0]).replacement, "${x}\n");
    EXPECT_EQ(std::get<InsertStep>(steps[1]).text, "  写真  ");
    EXPECT_EQ(std::get<NumberStep>(steps[3]).separator, " - ");
    EXPECT_EQ(std::get<NumberStep>(steps[3]).start, -3);
    EXPECT_FALSE(std::get<ExtensionStep>(steps[7]).enabled);
    again.Use("写真 (日付)");
    EXPECT_EQ(again.Recent()[0], "写真 (日付)");

    // Damaged in any of these ways: reported with its line, never written over.
    const std::string path = again.Path();
    for (const std::string damaged :
         {"[preset]\nname = \"x\"\n[step]\nkind = rotate\n",
          "[preset]\nname = \"x\"\n[step]\nkind = case\ncolour = red\n",
          "[preset]\nname = \"x\"\n[step]\nkind = insert\nposition = many\n",
          "[preset]\nname = \"unterminated\n", "just text\n"}) {
        dir.MakeFile("conf/presets.ini", damaged);
        EXPECT_FALSE(again.Load()) << damaged;
        EXPECT_NE(again.Damage().find(path), std::string::npos);
        EXPECT_NE(again.Damage().find("行目"), std::string::npos) << again.Damage();
        EXPECT_TRUE(again.All().empty());
        EXPECT_EQ(again.Save({"new", {}}), again.Damage());
        EXPECT_EQ(test::ReadFileText(path), damaged);
    }

    // A write that fails is said, with the file's path.
    ASSERT_FALSE(again.Load());
    dir.MakeFile("conf/presets.ini", "");
    ASSERT_TRUE(again.Load());
    fs.failWrite = [](const std::string&) { return ENOSPC; };
    EXPECT_EQ(again.Save({"x", {}}),
              FormatText(msg::kPresetsNotSaved, path.c_str(), std::strerror(ENOSPC)));
}

// A file the user formats by hand, with comments.
const std::string kHandWritten =
    "; my presets\n"
    "\n"
    "[preset]\n"
    "name   =   \"photos\"\n"
    "[step]\n"
    "kind = date\n"
    "\n"
    "; the next one is old\n"
    "[preset]\n"
    "name = \"old\"\n"
    "[step]\n"
    "kind = case\n"
    "\n"
    "; end\n";

TEST(NamePresetsTest, ChoosingWritesOnlyTheRecentListAndSavingOnlyItsSection) {
    test::TempDir dir;
    test::FaultFileSystem fs;
    const std::string path = dir.MakeFile("conf/presets.ini", kHandWritten);
    NamePresets presets(fs);
    presets.SetPathBeside(dir / "conf/config.ini");
    presets.SetRecentFolder(dir / "state");
    ASSERT_TRUE(presets.Load()) << presets.Damage();
    ASSERT_EQ(presets.All().size(), 2u);

    presets.Use("old");
    EXPECT_EQ(test::ReadFileText(path), kHandWritten);
    NamePresets later(fs);
    later.SetPathBeside(dir / "conf/config.ini");
    later.SetRecentFolder(dir / "state");
    ASSERT_TRUE(later.Load());
    EXPECT_EQ(later.Recent(), (std::vector<std::string>{"old", "photos"}));

    // Replacing "photos" changes its section alone; a new preset goes at the end.
    EXPECT_EQ(presets.Save({"photos", {CaseStep{}}}), "");
    std::string expected = kHandWritten;
    const std::size_t begin = expected.find("[preset]");
    expected.replace(begin, expected.find("\n\n; the next") - begin + 1,
                     WritePreset({"photos", {CaseStep{}}}));
    EXPECT_EQ(test::ReadFileText(path), expected);
    EXPECT_EQ(presets.Save({"new", {}}), "");
    expected += "\n" + WritePreset({"new", {}});
    EXPECT_EQ(test::ReadFileText(path), expected);
    EXPECT_EQ(presets.Remove("old"), "");
    const std::string old = "[preset]\nname = \"old\"\n[step]\nkind = case\n\n";
    expected.erase(expected.find(old), old.size());
    EXPECT_EQ(test::ReadFileText(path), expected);
}

TEST(NamePresetsTest, AChangeMadeOutsideIsReportedAndKept) {
    test::TempDir dir;
    test::FaultFileSystem fs;
    const std::string path = dir.MakeFile("conf/presets.ini", kHandWritten);
    NamePresets presets(fs);
    presets.SetPathBeside(dir / "conf/config.ini");
    ASSERT_TRUE(presets.Load());

    const std::string outside = kHandWritten + "[preset]\nname = \"theirs\"\n";
    dir.MakeFile("conf/presets.ini", outside);
    EXPECT_EQ(presets.Save({"mine", {}}), FormatText(msg::kPresetsChanged, path.c_str()));
    EXPECT_EQ(test::ReadFileText(path), outside);
    EXPECT_NE(presets.Find("theirs"), nullptr);
    EXPECT_EQ(presets.Save({"mine", {}}), "");  // again, on top of their change
    EXPECT_NE(test::ReadFileText(path).find("theirs"), std::string::npos);
    EXPECT_NE(test::ReadFileText(path).find("mine"), std::string::npos);

    // Damaged since it was read: reported, never written over.
    dir.MakeFile("conf/presets.ini", "broken\n");
    EXPECT_NE(presets.Remove("mine").find("壊れている"), std::string::npos);
    EXPECT_EQ(test::ReadFileText(path), "broken\n");
    // Removed since it was read: the next save starts a new file, after saying so.
    ASSERT_EQ(unlink(path.c_str()), 0);
    presets.Load();
    dir.MakeFile("conf/presets.ini", "[preset]\nname = \"x\"\n");
    EXPECT_EQ(presets.Save({"y", {}}), FormatText(msg::kPresetsChanged, path.c_str()));
}

// The name tools alone, over rows made by the list's row builder.
class NameToolsTest : public ::testing::Test, protected test::RowsFixture {
protected:
    NameToolsTest() { nameTools.SetView(&host); }

    BusyState busy;
    NameTools nameTools{list, validation, fs, log, host, host, busy, itemBreak};
};

TEST_F(NameToolsTest, StepsGoThroughTheBatchWithPreviewAndSummary) {
    AddRow("a/IMG_1.jpg");
    AddRow("a/IMG_2.jpg");
    AddRow("b/IMG_1.jpg");
    AddRow("a/other.txt");
    dir.MakeFile("a/2_02.jpg");  // not registered: the second name meets it
    for (int row = 0; row < 3; ++row)
        list.SetSelected(row, true);
    NumberStep number;
    number.digits = 2;
    number.perFolder = true;
    number.place = NumberPlace::After;
    number.separator = "_";
    const std::vector<NameStep> steps = {ReplaceStep{true, "IMG_", "", false, true, true}, number};

    // A step that does not compile applies nothing.
    host.nameToolsDialog = [&](NameTools& tools) {
        EXPECT_NE(tools.SetSteps({ReplaceStep{true, "(", "", true, true, true}}), "");
        return true;
    };
    nameTools.OnNameTools();
    EXPECT_EQ(Log().find("[START]"), std::string::npos);

    log.ClearLog();
    host.nameToolsDialog = [&](NameTools& tools) {
        EXPECT_EQ(tools.TargetCount(), 3u);
        EXPECT_EQ(tools.SetSteps(steps), "");
        EXPECT_EQ(tools.PreviewAt(0).name, "1_01.jpg");
        EXPECT_EQ(tools.PreviewAt(1).errors, std::uint32_t{ErrExists});
        EXPECT_EQ(tools.PreviewAt(2).name, "1_01.jpg");  // numbered again in its own folder
        return true;
    };
    nameTools.OnNameTools();
    EXPECT_EQ(list.Cell(0, ColNewName), "1_01.jpg");
    EXPECT_EQ(list.Cell(1, ColNewName), "2_02.jpg");
    EXPECT_EQ(list.Cell(2, ColNewName), "1_01.jpg");
    EXPECT_EQ(list.Cell(3, ColNewName), "other.txt");
    EXPECT_EQ(Bits(1), std::uint32_t{ErrExists});
    EXPECT_EQ(Bits(0) | Bits(2), 0u);
    const std::string expected = "\n" + std::string(msg::kNameToolsStart) + "\n" +
                                 FormatText(msg::kExists, 2, (dir / "a/2_02.jpg").c_str()) + "\n" +
                                 FormatText(msg::kNameToolsSummary, 3, 1) + "\n" +
                                 msg::kNameToolsEnd;
    EXPECT_EQ(Log(), expected);

    // Cancel changes nothing.
    host.nameToolsDialog = [](NameTools& tools) {
        tools.SetSteps({CaseStep{}});
        return false;
    };
    nameTools.OnNameTools();
    EXPECT_EQ(list.Cell(0, ColNewName), "1_01.jpg");
}

TEST_F(NameToolsTest, FoldersAmongFilesAreLeftOutUnlessChosen) {
    AddRow("photos/");
    AddRow("photos/a.jpg");
    AddRow("photos/b.jpg");
    AddRow("other/");
    const std::vector<NameStep> upper = {CaseStep{true, CaseKind::Upper, NamePart::Whole}};

    nameTools.GatherTargets();
    EXPECT_TRUE(nameTools.MixedRows());
    EXPECT_EQ(nameTools.TargetCount(), 2u);
    EXPECT_EQ(nameTools.LeftOutFolders(), 2u);
    EXPECT_EQ(nameTools.CurrentName(0), "a.jpg");
    ASSERT_EQ(nameTools.SetSteps(upper), "");
    EXPECT_TRUE(nameTools.Apply());
    EXPECT_EQ(list.Cell(0, ColNewName), "photos");
    EXPECT_EQ(list.Cell(1, ColNewName), "A.JPG");
    EXPECT_EQ(list.Cell(3, ColNewName), "other");

    nameTools.SetIncludeFolders(true);
    nameTools.GatherTargets();
    EXPECT_EQ(nameTools.TargetCount(), 4u);
    EXPECT_EQ(nameTools.LeftOutFolders(), 0u);
    nameTools.SetIncludeFolders(false);

    // Only folders: they are what the user means.
    list.SetSelected(0, true);
    list.SetSelected(3, true);
    nameTools.GatherTargets();
    EXPECT_FALSE(nameTools.MixedRows());
    EXPECT_EQ(nameTools.TargetCount(), 2u);
    ASSERT_EQ(nameTools.SetSteps(upper), "");
    EXPECT_TRUE(nameTools.Apply());
    EXPECT_EQ(list.Cell(0, ColNewName), "PHOTOS");
    EXPECT_EQ(list.Cell(3, ColNewName), "OTHER");
}

TEST_F(NameToolsTest, AnExpressionTooComplexIsAnErrorInThePreviewAndTheLog) {
    const std::string stem(200, 'a');
    for (int i = 0; i < 1000; ++i)
        AddRow("d/" + stem + "b" + std::to_string(i));
    AddRow("d/aaa");
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({ReplaceStep{true, "(a+)+$", "x", true, true, true}}), "");
    const NameTools::Preview preview = nameTools.PreviewAt(0);
    EXPECT_NE(preview.error.find("式が複雑すぎます"), std::string::npos) << preview.error;
    EXPECT_EQ(nameTools.PreviewAt(1000).name, "x");
    EXPECT_EQ(nameTools.PreviewAt(1000).error, "");

    EXPECT_TRUE(nameTools.Apply());
    EXPECT_EQ(list.Cell(0, ColNewName), stem + "b0");
    EXPECT_EQ(list.Cell(1000, ColNewName), "x");
    const std::string line = FormatText(msg::kNameToolsStepFailed, preview.error.c_str(),
                                        (dir / ("d/" + stem + "b999")).c_str());
    EXPECT_NE(Log().find(line), std::string::npos) << Log().substr(0, 400);
    EXPECT_NE(Log().find(FormatText(msg::kNameToolsSummary, 1, 1000)), std::string::npos);
    EXPECT_EQ(host.progressOpenCount, 1);
    EXPECT_FALSE(host.progressOpen);
    EXPECT_FLOAT_EQ(host.overallProgress.back(), 1.0f);
}

TEST_F(NameToolsTest, ApplyingCanBeStoppedAndThenChangesNoName) {
    for (int i = 0; i < 50; ++i)
        AddRow("IMG_" + std::to_string(i) + ".jpg");
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({ReplaceStep{true, "IMG_", "", false, true, true}}), "");
    int items = 0;
    host.onPendingEvents = [&] {
        if (++items == 10)
            busy.Abort();  // the progress dialog closed
    };
    EXPECT_FALSE(nameTools.Apply());
    EXPECT_FALSE(busy.Busy());
    EXPECT_EQ(host.overallProgress.size(), 10u);
    for (int row = 0; row < 50; ++row)
        EXPECT_EQ(list.Cell(row, ColNewName), "IMG_" + std::to_string(row) + ".jpg");
    EXPECT_NE(Log().find(msg::kNameToolsStopped), std::string::npos);
    EXPECT_EQ(Log().find("件の新しい名前が変わりました"), std::string::npos);
}

TEST_F(NameToolsTest, RowsReorderedOrRemovedWhileNamesAreMadeStopTheRun) {
    for (int i = 0; i < 20; ++i)
        AddRow("IMG_" + std::to_string(i) + ".jpg");
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({ReplaceStep{true, "IMG_", "", false, true, true}}), "");
    int items = 0;
    host.onPendingEvents = [&] {
        if (++items == 5)
            list.RemoveAllRows();
    };
    EXPECT_FALSE(nameTools.Apply());
    EXPECT_NE(Log().find(msg::kNameToolsStopped), std::string::npos);
    EXPECT_FALSE(busy.Busy());
}

// Whether the command asks about the row lock is the command table's: the whole program.
struct NameToolsCommandTest : ::testing::Test, test::AppFixture {};

TEST_F(NameToolsCommandTest, NamesChangeUnderTheRowLockWithoutAQuestion) {
    Add("IMG_1.jpg");
    AppInternals::RoundTrip(app).SetRowLockedForTest(true);  // the names change as typing would
    host.nameToolsDialog = [](NameTools& tools) {
        EXPECT_EQ(tools.SetSteps({ReplaceStep{true, "IMG_", "", false, true, true}}), "");
        return true;
    };
    app.Execute(Command::NameTools);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(app.Lock().RowLocked());
    EXPECT_EQ(app.List().Cell(0, ColNewName), "1.jpg");
}

}  // namespace
}  // namespace morvane

// The one check of a row's new name, its messages, and the name tools' preview that asks it.

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/RowsFixture.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/registration/Registration.h"
#include "platform/FolderPresence.h"
#include "rules/ErrorMessages.h"
#include "rules/NameCheck.h"
#include "rules/Validation.h"

namespace morvane::test {
namespace {

TEST(NameCheckTest, AcceptsAndRejectsByTheRowAloneAndTheDisk) {
    TempDir dir;
    FaultFileSystem fs;
    fs.charactersIn = [](const std::string& folder) {
        return folder.ends_with("/win/") ? NameCharacters::Windows : NameCharacters::Posix;
    };
    const std::string folder = dir.path() + "/";
    const std::string winFolder = dir.MakeFolder("win") + "/";
    const std::string mine = dir.MakeFile("mine.txt");
    dir.MakeFile("taken.txt");
    dir.MakeFile("caf\xE9.txt");
    struct Case {
        std::string folder;
        std::string name;
        bool occupied;
        std::uint32_t errors;
    };
    const std::vector<Case> cases = {
        {folder, "new.txt", false, 0},
        {folder, "mine.txt", false, 0},  // the row's own file
        {folder, "", false, ErrBlank},
        {folder, "a\nb", false, ErrForbidden},
        {folder, "a\rb", false, ErrForbidden},
        {folder, "a:b?", false, 0},
        {winFolder, "a:b?", false, ErrForbidden},
        {folder, std::string(255, 'x'), false, 0},
        {folder, std::string(256, 'x'), false, ErrTooLong},
        {folder, std::string(255, '\xE9'), false, 0},
        {folder, std::string(256, '\xE9'), false, ErrTooLong},
        {folder, "taken.txt", false, ErrExists},
        {folder, "taken.txt", true, 0},  // a registered row holds it and makes room
        {folder, "caf\xE9.txt", false, ErrExists},
        {folder, "caf\xE9", false, 0},
        {folder, "taken.txt\n", false, ErrForbidden},
        {folder, std::string(256, 'x') + "\n", false, ErrForbidden | ErrTooLong},
    };
    NameCheck check(fs);
    for (const Case& c : cases) {
        const std::string key = MakePathKey(c.folder + c.name);
        const NameToCheck row{c.folder, c.name, key, mine, c.occupied};
        EXPECT_EQ(check.Check(row), c.errors) << c.folder << c.name;
        // A batch's look at the folder answers as the disk does.
        FolderPresence presence(fs);
        EXPECT_EQ(check.Check(row, &presence), c.errors) << c.folder << c.name;
    }
}

TEST(NameCheckTest, EveryBitHasOneMessageInBitOrder) {
    std::uint32_t seen = 0;
    std::uint32_t previous = 0;
    for (const ErrorMessage& message : kErrorMessages) {
        EXPECT_GT(message.bit, previous);
        EXPECT_EQ(seen & message.bit, 0u);
        seen |= message.bit;
        previous = message.bit;
    }
    EXPECT_EQ(seen, 0x7Fu);
    ErrorFacts facts;
    facts.number = 3;
    facts.partner = 5;
    facts.name = "n";
    facts.newPath = "/d/n";
    facts.file = "/d/f";
    facts.nameMax = 255;
    facts.refused = "r";
    EXPECT_EQ(ErrorText(ErrBlank, facts), FormatText(msg::kBlankName, 3));
    EXPECT_EQ(ErrorText(ErrDuplicate, facts), FormatText(msg::kDuplicate, 3, 5));
    EXPECT_EQ(ErrorText(ErrForbidden, facts),
              FormatText(msg::kForbidden, 3, "n") + FormatText(msg::kRefusedHere, "r"));
    EXPECT_EQ(ErrorText(ErrExists, facts), FormatText(msg::kExists, 3, "/d/n"));
    EXPECT_EQ(ErrorText(ErrSwapBlocked, facts), FormatText(msg::kSwapTarget, 3, "n"));
    EXPECT_EQ(ErrorText(ErrRenameTest, facts), FormatText(msg::kRenameTestFailed, "/d/f"));
    EXPECT_EQ(ErrorText(ErrTooLong, facts), FormatText(msg::kNameTooLong, 255, 3, "n"));
}

// The rules over rows made by the list's row builder.
struct NameCheckRowsTest : ::testing::Test, RowsFixture {};

TEST_F(NameCheckRowsTest, TheTooltipSaysWhatTheLogSaid) {
    const int blank = AddRow("blank");
    const int dup = AddRow("dup1");
    const int dup2 = AddRow("dup2");
    const int forbidden = AddRow("forbidden");
    const int exists = AddRow("exists");
    const int tooLong = AddRow("long");
    const int swap = AddRow("swap");
    const int held = AddRow("held");
    dir.MakeFile("taken");
    // Registration's rename test locks the row and logs why.
    Locations locations;
    BusyState busy;
    Registration registration{list, validation, fs,   log,  settings,  locations, host,
                              host, host,       host, busy, itemBreak, rowLock};
    fs.RefuseRenames();
    const int locked = list.RowCount();
    const bool registered = registration.RegisterPath(dir.MakeFile("locked"));
    fs.adjustRights = nullptr;
    ASSERT_TRUE(registered);

    validation.SetNewName(blank, "");
    validation.SetNewName(dup, "same");
    validation.SetNewName(dup2, "same");
    validation.SetNewName(forbidden, "a\nb");
    validation.SetNewName(exists, "taken");
    validation.SetNewName(tooLong, std::string(300, 'x'));
    validation.SetNewName(held, "h\n");
    validation.SetNewName(swap, "held");  // its occupant carries an error

    const std::vector<std::pair<int, std::uint32_t>> expected = {
        {blank, ErrBlank},      {dup, ErrDuplicate},   {forbidden, ErrForbidden},
        {exists, ErrExists},    {tooLong, ErrTooLong}, {swap, ErrSwapBlocked},
        {locked, ErrRenameTest}};
    for (const auto& [row, bit] : expected) {
        ASSERT_EQ(Bits(row), bit) << row;
        // One error, one message (which may hold a line break of the name it quotes).
        const std::string tooltip = validation.ExplainErrors(row);
        ASSERT_FALSE(tooltip.empty()) << row;
        EXPECT_NE((Log() + "\n").find("\n" + tooltip + "\n"), std::string::npos) << tooltip;
    }
}

TEST_F(NameCheckRowsTest, ThePreviewAndTheRowCheckAgree) {
    const int row = AddRow("file.txt");
    AddRow("other.txt");
    dir.MakeFile("taken.txt");
    dir.MakeFile("caf\xE9.txt");
    const std::vector<std::string> names = {"new.txt",
                                            "caf\xE9.txt",  // an unregistered file holds it
                                            "caf\xE9",
                                            "\xFF\xFE\n",
                                            "taken.txt",
                                            "taken.txt  ",
                                            "other.txt",  // a registered row holds it
                                            std::string(300, '\xE9'),
                                            "   ",
                                            "file.txt"};
    constexpr std::uint32_t kOwn = ErrBlank | ErrForbidden | ErrTooLong | ErrExists;
    for (const std::string& name : names) {
        const std::uint32_t preview = validation.ProbeName(row, name);
        validation.SetNewName(row, name);
        EXPECT_EQ(preview, Bits(row) & kOwn) << name;
        validation.SetNewName(row, "file.txt");
    }
    EXPECT_EQ(validation.ProbeName(row, "caf\xE9.txt"), std::uint32_t{ErrExists});
    EXPECT_EQ(validation.ProbeName(row, "other.txt"), 0u);
}

}  // namespace
}  // namespace morvane::test

// The names a file system made for Windows refuses, and its name length counted in UTF-16.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RowsFixture.h"
#include "host/Messages.h"
#include "ops/rename/TemporaryName.h"
#include "platform/NameCharacters.h"
#include "platform/NameLimit.h"
#include "platform/Utf16.h"
#include "rules/Validation.h"

namespace morvane::test {
namespace {

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(WindowsNamesTest, DeviceNamesAndTrailingDotsOrSpaces) {
    struct Case {
        const char* name;
        NameFault onWindows;
    };
    const std::vector<Case> cases = {
        {"con", NameFault::DeviceName},
        {"CON", NameFault::DeviceName},
        {"Nul", NameFault::DeviceName},
        {"con.txt", NameFault::DeviceName},
        {"com1.tar.gz", NameFault::DeviceName},
        {"LPT9", NameFault::DeviceName},
        {"aux .txt", NameFault::DeviceName},  // blanks before the extension are dropped too
        {"prn.", NameFault::DeviceName},
        {"COM\xC2\xB9", NameFault::DeviceName},  // COM¹
        {"lpt\xC2\xB3.log", NameFault::DeviceName},
        {"name.", NameFault::TrailingDotOrSpace},
        {"name ", NameFault::TrailingDotOrSpace},
        {"..", NameFault::TrailingDotOrSpace},
        {"con:1", NameFault::Character},
        {"COM0", NameFault::None},
        {"COM10", NameFault::None},
        {"LPT\xC2\xB4", NameFault::None},  // not a superscript digit
        {"console", NameFault::None},
        {"con_x.txt", NameFault::None},
        {"xcon", NameFault::None},
        {"a.con", NameFault::None},
        {"nul\xE3\x80\x80", NameFault::None},  // an ideographic space is no blank here
        {".hidden", NameFault::None},
        {"日本語.txt", NameFault::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FaultIn(c.name, NameCharacters::Windows), c.onWindows) << c.name;
        // A Linux file system takes every one of them.
        EXPECT_EQ(FaultIn(c.name, NameCharacters::Posix), NameFault::None) << c.name;
        // Whatever a folder refuses, the quick test lets through to the folder's rules.
        EXPECT_EQ(MayBeForbidden(c.name), c.onWindows != NameFault::None) << c.name;
    }
}

// The rules over rows of a folder said to lie on exFAT.
struct WindowsFolderTest : ::testing::Test, RowsFixture {
    WindowsFolderTest() {
        fs.adjustTraits = [usb = dir / "usb/"](const std::string& folder, MountTraits& traits) {
            if (folder.starts_with(usb)) {
                traits.characters = NameCharacters::Windows;
                traits.lengthInUtf16 = true;
            }
        };
    }

    std::string Named(int row, const std::string& name) {
        log.ClearLog();
        validation.SetNewName(row, name);
        return Log();
    }
};

TEST_F(WindowsFolderTest, RefusedNamesSayWhatIsWrongInTheLogAndTheTooltip) {
    const int row = AddRow("usb/a.txt");
    const int posix = AddRow("b.txt");
    const auto line = [](const char* name, const char* why) {
        return "\n" + FormatText(msg::kForbiddenName, 1, name) + why;
    };
    EXPECT_EQ(Named(row, "con.txt"), line("con.txt", msg::kDeviceNameHere));
    EXPECT_EQ(Bits(row), std::uint32_t{ErrForbidden});
    EXPECT_EQ("\n" + validation.ExplainErrors(row), line("con.txt", msg::kDeviceNameHere));
    EXPECT_EQ(Named(row, "Com1.tar.gz"), line("Com1.tar.gz", msg::kDeviceNameHere));
    EXPECT_EQ(Named(row, "a."), line("a.", msg::kTrailingDotHere));
    EXPECT_EQ("\n" + validation.ExplainErrors(row), line("a.", msg::kTrailingDotHere));
    // A forbidden character keeps its own line.
    EXPECT_EQ(Named(row, "a:b."),
              "\n" + FormatText(msg::kForbidden, 1, "a:b.") +
                  FormatText(msg::kRefusedHere, "\\ / : * ? \" < > | と制御文字"));
    EXPECT_EQ(Named(row, "console.txt"), "");
    EXPECT_EQ(Bits(row), 0u);
    // On a Linux file system the same names are fine.
    EXPECT_EQ(Named(posix, "con.txt"), "");
    EXPECT_EQ(Named(posix, "a."), "");
    EXPECT_EQ(Bits(posix), 0u);
}

TEST_F(WindowsFolderTest, NameLengthCountsUtf16UnitsThere) {
    const int row = AddRow("usb/a.txt");
    const int posix = AddRow("b.txt");
    const std::string hundred = Repeat("あ", 100);  // 300 bytes
    EXPECT_EQ(Named(row, hundred), "");
    EXPECT_EQ(Bits(row), 0u);
    EXPECT_EQ(Named(row, Repeat("あ", 255)), "");
    const std::string over = Repeat("あ", 255) + "x";
    const std::string tooLong = "\n" + FormatText(msg::kNameTooLongUnits, 255, 1, over.c_str());
    EXPECT_EQ(Named(row, over), tooLong);
    EXPECT_EQ(Bits(row), std::uint32_t{ErrTooLong});
    EXPECT_EQ("\n" + validation.ExplainErrors(row), tooLong);
    // A character beyond the first plane is two units: 128 of them are 256.
    EXPECT_EQ(Named(row, Repeat("\xF0\x9F\x98\x80", 127) + "x"), "");
    EXPECT_EQ(Bits(row), 0u);
    Named(row, Repeat("\xF0\x9F\x98\x80", 128));
    EXPECT_EQ(Bits(row), std::uint32_t{ErrTooLong});
    // A Linux file system counts bytes.
    EXPECT_EQ(Named(posix, hundred), "\n" + FormatText(msg::kNameTooLong, 255, 2, hundred.c_str()));
}

TEST(WindowsNamesTest, TemporaryNamesFitAFolderThatCountsUtf16Units) {
    const NameLimit units{NameLimit::kUtf16Units, true};
    const std::string name = Repeat("あ", 250);
    const std::string temp = TemporaryName(7, name, units);
    EXPECT_EQ(Utf16Length(temp), 255u);
    EXPECT_EQ(temp, "00000007[MORVANE]_" + Repeat("あ", 237));
    // Never half of a pair of units.
    const std::string astral = TemporaryName(0, Repeat("\xF0\x9F\x98\x80", 120), units);
    EXPECT_EQ(Utf16Length(astral), 254u);
    EXPECT_TRUE(IsValidUtf8(astral));
    EXPECT_TRUE(units.Fits(Repeat("あ", 255)));
    EXPECT_FALSE(units.Fits(Repeat("あ", 256)));
    // Counted in bytes, the same name is cut to the bytes.
    EXPECT_EQ(TemporaryName(7, name, 255).size(), 18u + 237u);
}

}  // namespace
}  // namespace morvane::test

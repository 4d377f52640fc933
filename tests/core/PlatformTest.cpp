#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Directories.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ClockTest, FormatUtcShowsTheInstantInUtcWhateverTheZone) {
    EXPECT_EQ(FormatUtc(0), "1970/01/01 00:00:00");
    EXPECT_EQ(FormatUtc(1700000000), "2023/11/14 22:13:20");
    EXPECT_EQ(FormatUtc(5000000000LL), "2128/06/11 08:53:20");  // past 2038

    // 10:00 local time at UTC+9 shows 01:00:00.
    ScopedEnv tz("TZ", "JST-9");
    tzset();
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 15;
    local.tm_hour = 10;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    EXPECT_EQ(FormatUtc(t), "2024/01/15 01:00:00");
    const LocalTime now = CurrentLocalTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
}

TEST(ClockTest, FormatUtcWritesWhatTheCLibraryWrites) {
    const auto library = [](std::int64_t seconds) {
        const auto t = static_cast<std::time_t>(seconds);
        std::tm tm{};
        gmtime_r(&t, &tm);
        char buffer[64];
        std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &tm);
        return std::string(buffer);
    };
    // Leap days and the century rules, the ends of years, the last four-digit second, and
    // some before 1970 and after 9999.
    const std::int64_t instants[] = {
        -1,         -86400 * 366, 68169599,   68169600,     951782399,    951782400,   951868800,
        4107542399, 4107542400,   4107628800, 253402300799, 253402300800, -62135596800};
    std::string reused(40, 'x');
    for (const std::int64_t t : instants) {
        EXPECT_EQ(FormatUtc(t), library(t)) << t;
        FormatUtc(t, &reused);
        EXPECT_EQ(reused, library(t)) << t;
    }
    for (std::int64_t t = 0; t < 253402300800; t += 86399 * 97 + 3601)
        ASSERT_EQ(FormatUtc(t), library(t)) << t;
}

TEST(DirectoriesTest, TempDirectoryComesFromTmpdirAndEndsWithASlash) {
    {
        ScopedEnv tmp("TMPDIR", "/var/scratch");
        EXPECT_EQ(TempDirectory(), "/var/scratch/");
    }
    {
        ScopedEnv tmp("TMPDIR", "/var/scratch/");
        EXPECT_EQ(TempDirectory(), "/var/scratch/");
    }
    {
        ScopedEnv tmp("TMPDIR", "");
        EXPECT_EQ(TempDirectory(), "/tmp/");
    }
    {
        ScopedEnv tmp("TMPDIR", nullptr);
        EXPECT_EQ(TempDirectory(), "/tmp/");
    }
}

TEST(DirectoriesTest, ProgramAndConfigFolders) {
    FileSystem& fs = RealFileSystem();
    const std::string program = ProgramPath(fs);
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(ProgramDirectory(fs), program.substr(0, program.find_last_of('/')));
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/x/config");
        EXPECT_EQ(ConfigHome(), "/x/config");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/is/ignored");
        ScopedEnv home("HOME", "/home/someone");
        EXPECT_EQ(ConfigHome(), "/home/someone/.config");
    }

    test::TempDir dir;
    EXPECT_TRUE(MakeFolders(fs, dir / "a/b/c").Ok());
    EXPECT_TRUE(MakeFolders(fs, dir / "a/b/c").Ok());  // already there
    EXPECT_TRUE(IsWritableDirectory(fs, dir / "a/b/c"));
    dir.MakeFile("file");
    EXPECT_FALSE(MakeFolders(fs, dir / "file").Ok());
    EXPECT_EQ(MakeFolders(fs, dir / "file/below").error, ENOTDIR);
    EXPECT_FALSE(IsWritableDirectory(fs, dir / "absent"));
}

TEST(CodePageTest, Utf8PassesThroughByteForByte) {
    InitLocaleCodePage();
    if (!LocaleIsUtf8())
        GTEST_SKIP() << "the locale's character set is not UTF-8";
    const std::string text = "日本語 name \xFF\xFE broken \xE3\x81 end";
    EXPECT_EQ(ToLocaleCodePage(text), text);
    EXPECT_EQ(FromLocaleCodePage(text), text);
    EXPECT_EQ(FromLocaleCodePage(ToLocaleCodePage(text)), text);
    EXPECT_EQ(ToLocaleCodePage(""), "");
}

}  // namespace
}  // namespace morvane

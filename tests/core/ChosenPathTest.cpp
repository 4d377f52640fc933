// Paths from the file dialogs, where Qt has shown stray bytes as U+FFFD, back to the bytes of
// the entries on disk.

#include <gtest/gtest.h>

#include <cerrno>

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "ops/registration/ChosenPath.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

constexpr const char* kShown = "\xEF\xBF\xBD";  // U+FFFD

struct ChosenPathTest : ::testing::Test {
    std::optional<std::string> Resolve(const std::string& shown,
                                       LastComponent last = LastComponent::MustExist) {
        return ResolveChosenPath(fs, log, shown, last);
    }

    test::TempDir dir;
    test::FaultFileSystem fs;
    ActivityLog log;
};

TEST_F(ChosenPathTest, StrayBytesInFolderAndFileNameResolveToTheEntries) {
    const std::string file = dir.MakeFile("d\xFF/caf\xE9.jpeg");
    dir.MakeFile("d\xFF/cafe.jpeg");
    const std::string cut = dir.MakeFile(
        "a\xE3\x81"
        "b");  // a sequence cut short
    EXPECT_EQ(Resolve(dir / "d" + kShown + "/caf" + kShown + ".jpeg"), file);
    EXPECT_EQ(Resolve(dir / "a" + kShown + kShown + "b"), cut);
    EXPECT_EQ(Resolve(dir / "a" + kShown + "b"), std::nullopt);
    EXPECT_EQ(log.Text(),
              "\n" + FormatText(msg::kChosenPathNotFound, (dir / "a" + kShown + "b").c_str()));
}

TEST_F(ChosenPathTest, TwoEntriesShownAlikeAreNotGuessedBetween) {
    dir.MakeFile("a\xE9");
    dir.MakeFile("a\xE8");
    const std::string shown = dir / "a" + kShown;
    EXPECT_EQ(Resolve(shown), std::nullopt);
    EXPECT_EQ(Resolve(shown, LastComponent::MayBeNew), std::nullopt);
    const std::string line = "\n" + FormatText(msg::kChosenPathAmbiguous, shown.c_str());
    EXPECT_EQ(log.Text(), line + line);
}

TEST_F(ChosenPathTest, PlainPathIsReturnedWithoutReadingAnyFolder) {
    int listed = 0;
    fs.failListFolder = [&](const std::string&) {
        ++listed;
        return EIO;
    };
    EXPECT_EQ(Resolve(dir / "été/\xE9.txt"), dir / "été/\xE9.txt");
    EXPECT_EQ(listed, 0);
    EXPECT_EQ(Resolve(dir / kShown), std::nullopt);  // the hook holds: this one must read
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(log.Text(), "\n" + FormatText(msg::kFolderUnreadable, dir.path().c_str()));
}

TEST_F(ChosenPathTest, SaveDialogKeepsANewNameAsTyped) {
    dir.MakeFolder("l\xE9");
    const std::string existing = dir.MakeFile("l\xE9/old\xE9.mvf");
    const std::string folder = dir / "l" + kShown;
    EXPECT_EQ(Resolve(folder + "/new" + kShown + ".mvf", LastComponent::MayBeNew),
              dir / "l\xE9/new" + kShown + ".mvf");
    EXPECT_EQ(Resolve(folder + "/old" + kShown + ".mvf", LastComponent::MayBeNew), existing);
    EXPECT_EQ(log.Text(), "");
    // Only the last component may be new.
    EXPECT_EQ(Resolve(dir / "x" + kShown + "/new.mvf", LastComponent::MayBeNew), std::nullopt);
    EXPECT_EQ(Resolve(folder + "/new" + kShown + ".mvf"), std::nullopt);
}

}  // namespace
}  // namespace morvane

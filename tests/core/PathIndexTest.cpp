#include <gtest/gtest.h>

#include "list/PathIndex.h"

namespace morvane {
namespace {

TEST(PathHashTest, MultipliesBy137OverUtf16UnitsModulo65535) {
    EXPECT_EQ(PathHash(""), 0u);
    EXPECT_EQ(PathHash("a"), 97u);
    EXPECT_EQ(PathHash("ab"), (97u * 137u + 98u) % 65535u);
    // "あ" is one UTF-16 unit (U+3042), not three bytes.
    EXPECT_EQ(PathHash("\xE3\x81\x82"), 0x3042u % 65535u);
    // A character outside the BMP is two units (a surrogate pair).
    const std::uint32_t h = (0xD83Du * 137u + 0xDE00u) % 65535u;
    EXPECT_EQ(PathHash("\xF0\x9F\x98\x80"), h);
}

TEST(PathIndexTest, FrontInsertionChainsAndRemoval) {
    PathIndex index(PathIndex::Key::Current);
    FileEntry a, b, c;
    a.currentKey = "/d/x";
    b.currentKey = "/d/x";  // same key: the newest is found first
    c.currentKey = "/d/y";
    index.Insert(&a);
    index.Insert(&b);
    index.Insert(&c);
    EXPECT_EQ(index.Find("/d/x"), &b);
    EXPECT_EQ(index.Find("/d/x", &b), &a);
    EXPECT_EQ(index.Find("/d/y"), &c);
    EXPECT_EQ(index.Find("/d/z"), nullptr);
    EXPECT_EQ(index.CountEntries(), 3u);
    EXPECT_TRUE(index.IsConsistent());

    index.Unlink(&b);
    EXPECT_EQ(index.Find("/d/x"), &a);
    index.Unlink(&b);  // twice is harmless
    EXPECT_TRUE(index.IsConsistent());
    index.Unlink(&a);
    index.Unlink(&c);
    EXPECT_EQ(index.CountEntries(), 0u);
    EXPECT_EQ(index.Find("/d/x"), nullptr);
}

TEST(PathIndexTest, KeysDifferingInCaseAreDifferentOnLinux) {
    PathIndex index(PathIndex::Key::New);
    FileEntry upper, lower;
    upper.newKey = MakePathKey("/d/ABC.txt");
    lower.newKey = MakePathKey("/d/abc.TXT");
    index.Insert(&upper);
    index.Insert(&lower);
    EXPECT_EQ(index.Find("/d/ABC.txt"), &upper);
    EXPECT_EQ(index.Find("/d/abc.TXT"), &lower);
    int walked = 0;
    index.ForEach("/d/ABC.txt", [&](FileEntry*) {
        ++walked;
        return true;
    });
    EXPECT_EQ(walked, 1);
    index.Unlink(&upper);
    index.Unlink(&lower);
}

}  // namespace
}  // namespace morvane

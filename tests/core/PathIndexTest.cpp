#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/PathIndex.h"
#include "platform/Utf16.h"

namespace morvane {
namespace {

TEST(PathHashTest, MultipliesBy137OverUtf16Units) {
    EXPECT_EQ(FullPathHash(""), 0u);
    EXPECT_EQ(FullPathHash("a"), 97u);
    EXPECT_EQ(FullPathHash("ab"), 97u * 137u + 98u);
    // "あ" is one UTF-16 unit (U+3042), not three bytes.
    EXPECT_EQ(FullPathHash("\xE3\x81\x82"), 0x3042u);
    // A character outside the BMP is two units (a surrogate pair).
    const std::uint32_t h = 0xD83Du * 137u + 0xDE00u;
    EXPECT_EQ(FullPathHash("\xF0\x9F\x98\x80"), h);

    // Long keys, ASCII runs broken by other characters and bytes that are not UTF-8, step by
    // step as defined.
    for (const std::string& key :
         {std::string("/home/user/Pictures/2024/holiday/IMG_0001.jpg"),
          std::string("/home/ユーザー/写真/2024年/旅行/IMG_0001.jpg"),
          std::string("/tmp/abcdefg\xF0\x9F\x98\x80hijklmnopqrstuvwxyz/\xFF\xFE"
                      "bad"),
          std::string("12345678"), std::string("1234567"), std::string("/a/\xE3\x81\x82")}) {
        std::uint32_t expected = 0;
        ForEachUtf16Unit(key, [&](std::uint16_t unit) { expected = expected * 137u + unit; });
        EXPECT_EQ(FullPathHash(key), expected) << key;
    }
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

TEST(PathIndexTest, KeysSharingAFullHashAreToldApart) {
    // "ab" and "`" U+00EB have the same full hash.
    ASSERT_EQ(FullPathHash("ab"), FullPathHash("`\xC3\xAB"));
    PathIndex index(PathIndex::Key::Current);
    FileEntry entries[4];
    const char* keys[] = {"a", "\xC7\x9F\t", "ab", "`\xC3\xAB"};
    for (int i = 0; i < 4; ++i) {
        entries[i].currentKey = keys[i];
        index.Insert(&entries[i]);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(index.Find(keys[i]), &entries[i]) << i;
        EXPECT_EQ(index.HashOf(&entries[i]), FullPathHash(keys[i])) << i;
    }
    EXPECT_TRUE(index.IsConsistent());
    for (FileEntry& e : entries)
        index.Unlink(&e);
}

TEST(PathIndexTest, LinksAreReusedMovedAndGivenBack) {
    PathIndex index(PathIndex::Key::New);
    std::vector<FileEntry> entries(5000);  // more than one block of links
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].AssignNewPath("/d/", std::to_string(i));
        index.Insert(&entries[i]);
    }
    // A changed key while unlinked: the hash follows the key, and the entry is found under it.
    index.Unlink(&entries[7]);
    entries[7].AssignNewPath("/d/", "seven");
    EXPECT_EQ(index.HashOf(&entries[7]), FullPathHash("/d/seven"));
    index.Insert(&entries[7]);
    // Inserting an entry that is still linked moves it to the chain of its new key.
    entries[8].AssignNewPath("/d/", "eight");
    index.Insert(&entries[8]);
    EXPECT_EQ(index.Find("/d/seven"), &entries[7]);
    EXPECT_EQ(index.Find("/d/eight"), &entries[8]);
    EXPECT_EQ(index.Find("/d/7"), nullptr);
    EXPECT_EQ(index.Find("/d/8"), nullptr);
    EXPECT_EQ(index.CountEntries(), entries.size());
    EXPECT_TRUE(index.IsConsistent());

    for (FileEntry& e : entries)
        index.Unlink(&e);
    EXPECT_EQ(index.CountEntries(), 0u);
    for (FileEntry& e : entries)
        EXPECT_EQ(e.newLink, nullptr);
    // Empty again, then filled again.
    index.Insert(&entries[1]);
    index.Insert(&entries[2]);
    EXPECT_EQ(index.Find("/d/2"), &entries[2]);
    EXPECT_TRUE(index.IsConsistent());
    index.Unlink(&entries[1]);
    index.Unlink(&entries[2]);
}

TEST(PathIndexTest, KeysDifferingInCaseAreDifferentOnLinux) {
    PathIndex index(PathIndex::Key::New);
    FileEntry upper, lower;
    upper.AssignNewPath("/d/", "ABC.txt");
    lower.AssignNewPath("/d/", "abc.TXT");
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

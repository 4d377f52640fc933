// Names under Unicode case folding, and the keys of rows on case-insensitive file systems.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/PathIndex.h"
#include "platform/CaseFold.h"

namespace morvane {
namespace {

TEST(CaseFoldTest, FullUnicodeFoldingOfValidTextAndInvalidBytesAsTheyAre) {
    struct Case {
        std::string a;
        std::string b;
        bool same;
    };
    const std::vector<Case> cases = {
        {"IMG_1.JPG", "img_1.jpg", true},
        {"\xC3\x84.txt", "\xC3\xA4.txt", true},                          // Ä, ä
        {"\xCE\xA3\xCE\x91\xCE\xA3", "\xCF\x83\xCE\xB1\xCF\x82", true},  // ΣΑΣ, σας
        {"\xC7\x85", "\xC7\x86", true},                                  // ǅ, ǆ
        {"\xC7\x84", "\xC7\x85", true},                                  // Ǆ, ǅ
        {"stra\303\237e", "STRASSE", true},                              // ß folds to ss
        {"\xE2\x84\xAA", "k", true},                                     // the Kelvin sign
        {"\xEF\xBC\xA1", "\xEF\xBD\x81", true},                          // full-width Ａ, ａ
        {"\xEF\xBC\xA1", "A", false},      // folding is no width change
        {"a\xCC\x88", "\xC3\xA4", false},  // nor normalisation
        {"\377A.txt", "\377a.txt", true},  // 0xFF is no UTF-8
        {"\xFF", "\xFE", false},
        {"\303A", "\303a", true},  // a lead byte without its continuation
        {"\xC3\xC3\x84", "\xC3\xC3\xA4", true},
        {"\x80\xC3\x84\xFF", "\x80\xC3\xA4\xFF", true},
        {"\xED\xA0\x80", "\xED\xA0\x81", false},  // an encoded surrogate is no character
        {"abc", "abd", false},
        {"", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameUnderCaseFolding(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(FoldCase(c.a) == FoldCase(c.b), c.same) << c.a << " / " << c.b;
    }
    EXPECT_EQ(FoldCase("\303\204\377B"), "\303\244\377b");
    EXPECT_EQ(FoldCase("\xF0\x9F\x98"), "\xF0\x9F\x98");  // cut short: bytes kept
    EXPECT_EQ(FoldCase(FoldCase("\xCE\xA3\xC7\x85")), FoldCase("\xCE\xA3\xC7\x85"));
}

TEST(CaseFoldTest, RowsOfACaseInsensitiveFolderMatchTheirPathInAnyCase) {
    PathIndex index(PathIndex::Key::New);
    FileEntry exact, folding, other;
    exact.currentKey = "/home/a/IMG_1.JPG";
    folding.currentKey = "/media/usb/IMG_1.JPG";
    folding.foldsCase = true;
    other.currentKey = "/media/usb/\xC3\x84.txt";
    other.foldsCase = true;
    index.Insert(&exact);
    EXPECT_EQ(index.Find("/home/a/img_1.jpg"), nullptr);
    index.Insert(&folding);
    index.Insert(&other);
    EXPECT_TRUE(index.IsConsistent());

    EXPECT_EQ(index.Find("/home/a/IMG_1.JPG"), &exact);
    EXPECT_EQ(index.Find("/home/a/img_1.jpg"), nullptr);  // a Linux file system keeps case
    EXPECT_EQ(index.Find("/media/usb/img_1.jpg"), &folding);
    EXPECT_EQ(index.Find("/media/usb/IMG_1.JPG"), &folding);
    EXPECT_EQ(index.Find("/media/usb/\xC3\xA4.TXT"), &other);
    EXPECT_EQ(index.Find("/media/usb/img_1.jpg", &folding), nullptr);
    // The walk for a hash taken from a row compares that row's way.
    EXPECT_EQ(index.Find("/media/usb/Img_1.Jpg", index.HashOf(&folding)), &folding);
    int met = 0;
    index.ForEach("/MEDIA/USB/\xC3\x84.TXT", [&](FileEntry* e) {
        EXPECT_EQ(e, &other);
        return ++met > 0;
    });
    EXPECT_EQ(met, 1);

    // Once no row folds case, a path is looked up once.
    index.Unlink(&folding);
    index.Unlink(&other);
    EXPECT_EQ(index.Find("/media/usb/img_1.jpg"), nullptr);
    EXPECT_EQ(index.HashOf(&folding), FullPathHash("/media/usb/img_1.jpg"));
    EXPECT_TRUE(index.IsConsistent());
}

}  // namespace
}  // namespace morvane

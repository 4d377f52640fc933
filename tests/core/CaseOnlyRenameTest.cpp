// Renames on a case-insensitive file system: a change of case alone, and a swap of names that
// differ from each other's only in case, go through temporary names.

#include <string>
#include <vector>

#include "core/CaseInsensitiveFixture.h"

namespace morvane::test {
namespace {

using CaseOnlyRenameTest = CaseInsensitiveFixture;
using Names = std::vector<std::string>;

TEST_F(CaseOnlyRenameTest, ACaseOnlyRenameGoesThroughATemporaryName) {
    FoldCase("usb", true);
    SetName(Row("usb/IMG_1.JPG"), "img_1.jpg");
    SetName(Row("plain/IMG_2.JPG"), "img_2.jpg");
    ASSERT_EQ(Errors(0) | Errors(1), 0u);
    Run();
    // Moved aside with the files of its depth whose names are wanted, then placed.
    EXPECT_EQ(moves, (Names{"usb/IMG_1.JPG -> usb/00000000[MORVANE]_IMG_1.JPG",
                            "plain/IMG_2.JPG -> plain/img_2.jpg",
                            "usb/00000000[MORVANE]_IMG_1.JPG -> usb/img_1.jpg"}));
    EXPECT_EQ(Content("usb/img_1.jpg"), "usb/IMG_1.JPG");
    EXPECT_EQ(Log(), CleanLog(2));
}

TEST_F(CaseOnlyRenameTest, ANameThatFoldsToAnotherRowsNameIsASwap) {
    FoldCase();
    const int a = Row("usb/a.txt");
    const int b = Row("usb/b.txt");
    SetName(a, "B.txt");
    SetName(b, "A.txt");
    // Each row's occupant moves: no file in the way.
    ASSERT_EQ(Errors(a) | Errors(b), 0u);
    Run();
    EXPECT_EQ(moves, (Names{"usb/b.txt -> usb/00000001[MORVANE]_b.txt",
                            "usb/a.txt -> usb/00000000[MORVANE]_a.txt",
                            "usb/00000001[MORVANE]_b.txt -> usb/A.txt",
                            "usb/00000000[MORVANE]_a.txt -> usb/B.txt"}));
    EXPECT_EQ(Content("usb/A.txt"), "usb/b.txt");
    EXPECT_EQ(Content("usb/B.txt"), "usb/a.txt");
    EXPECT_EQ(Log(), CleanLog(2));
}

}  // namespace
}  // namespace morvane::test

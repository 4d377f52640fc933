// Names that are not UTF-8: every step works on the valid runs and keeps the other bytes.

#include <gtest/gtest.h>

#include "names/NamePipeline.h"

namespace morvane {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct ByteCase {
    std::string name;
    NameStep step;
    std::string expected;
};

// Latin-1 "café", a Shift_JIS "写真" (0x8e 0xca 0x90 0x5e) and a lone continuation byte.
const std::string kCafe = "caf\xE9";
const std::string kSjis = "\x8E\xCA\x90\x5E";

TEST(NameBytesTest, EveryStepKeepsBytesThatAreNotUtf8) {
    const std::vector<ByteCase> cases = {
        {kCafe + ".jpeg", WidthStep{true, WidthKind::Nfc, NamePart::Whole}, kCafe + ".jpeg"},
        {"ｶﾞ" + kCafe + ".txt",
         WidthStep{true, WidthKind::HalfwidthKatakanaToFull, NamePart::Whole},
         "ガ" + kCafe + ".txt"},
        {"ＡＢ\x80１.txt", WidthStep{true, WidthKind::AsciiToHalfwidth, NamePart::Stem},
         "AB\x80"
         "1.txt"},
        {"ab\xFF"
         "c",
         WidthStep{true, WidthKind::AsciiToFullwidth, NamePart::Stem},
         "ａｂ\xFF"
         "ｃ"},
        {"ひら" + kSjis, WidthStep{true, WidthKind::HiraganaToKatakana, NamePart::Stem},
         "ヒラ\x8E\xCA\x90^"},
        {kCafe + " menu.JPEG", CaseStep{true, CaseKind::Upper, NamePart::Stem},
         "CAF\xE9 MENU.JPEG"},
        {kCafe + " menu.JPEG", CaseStep{true, CaseKind::Title, NamePart::Stem},
         "Caf\xE9 Menu.JPEG"},
        {"A\xC3"
         "B.TXT",
         CaseStep{true, CaseKind::Lower, NamePart::Whole},
         "a\xC3"
         "b.txt"},
        {kCafe + ".JP\xC9G", ExtensionStep{true, ExtensionAction::Lower, ""}, kCafe + ".jp\xC9g"},
        {kCafe + ".jpeg", ExtensionStep{true, ExtensionAction::Upper, ""}, kCafe + ".JPEG"},
        {kCafe + ".jpeg", ExtensionStep{true, ExtensionAction::Change, "jpg"}, kCafe + ".jpg"},
        {kCafe + ".jpeg", ReplaceStep{true, "caf", "Café ", false, true, true, NamePart::Stem},
         "Café \xE9.jpeg"},
        {"CAF\xE9_caf\xE9", ReplaceStep{true, "caf", "x", false, false, true, NamePart::Whole},
         "x\xE9_x\xE9"},
        {kSjis + "_001.jpg", ReplaceStep{true, "_(\\d+)", "-$1-", true, true, true},
         kSjis + "-001-.jpg"},
        // A stray byte matches nothing, not even ".": the match starts after it (0xCA 0x90
        // happens to be valid UTF-8).
        {kSjis + "_001.jpg", ReplaceStep{true, "(.*)_", "[$1]", true, true, true},
         "\x8E[\xCA\x90^]001.jpg"},
        {kCafe + ".jpeg", InsertStep{true, "-", 1, Edge::End}, "caf-\xE9.jpeg"},
        {kCafe + ".jpeg", RemoveStep{true, 0, 1, Edge::End}, "caf.jpeg"},
        {kCafe + ".jpeg", NumberStep{true, 7, 1, 2, false, NumberPlace::After, "_"},
         kCafe + "_07.jpeg"},
    };
    for (const ByteCase& c : cases) {
        NamePipeline pipeline({c.step});
        ASSERT_EQ(pipeline.error(), "") << c.name;
        NameRemarks remarks;
        const std::string out = pipeline.Apply(c.name, NameContext{}, &remarks);
        EXPECT_EQ(out, c.expected) << c.name;
        EXPECT_EQ(remarks.error, "") << c.name;
        EXPECT_EQ(out.find(kReplacement), std::string::npos) << c.name << " became " << out;
    }
}

TEST(NameBytesTest, DatesTemplatesAndCollisionNumbersKeepThemToo) {
    NameContext c;
    c.path = "/photos/" + kSjis + "/" + kCafe + ".JP\xC9G";
    c.modified = 1700000000;  // 14 November 2023, in every time zone
    c.collision = 1;
    TemplateStep shape;
    shape.text = "{folder}_{name}{n}{ext}";
    shape.onCollision = true;
    NumberStep collided;
    collided.onCollision = true;
    collided.place = NumberPlace::After;
    collided.separator = "-";
    const std::string name = kCafe + ".JP\xC9G";
    const std::vector<ByteCase> cases = {
        {name, DateStep{true, DateSource::Modified, "%Y", 0, Edge::Start}, "2023" + name},
        {name, DateStep{true, DateSource::Modified, "%Y", 1, Edge::End}, "caf2023\xE9.JP\xC9G"},
        {name, DateStep{true, DateSource::Modified, "%Y", 0, Edge::Start, true}, "2023.JP\xC9G"},
        {name, shape, kSjis + "_" + name.substr(0, 4) + "_1.JP\xC9G"},
        {name, collided, kCafe + "-1.JP\xC9G"},
    };
    for (const ByteCase& k : cases) {
        NamePipeline pipeline({k.step});
        ASSERT_EQ(pipeline.error(), "") << k.expected;
        NameRemarks remarks;
        const std::string out = pipeline.Apply(k.name, c, &remarks);
        EXPECT_EQ(out, k.expected);
        EXPECT_EQ(remarks.error, "") << k.expected;
        EXPECT_EQ(out.find(kReplacement), std::string::npos) << k.expected << " became " << out;
    }
}

TEST(NameBytesTest, AReplacementCharacterTheNameHadStays) {
    NamePipeline pipeline({CaseStep{true, CaseKind::Upper, NamePart::Whole},
                           WidthStep{true, WidthKind::Nfc, NamePart::Whole}});
    EXPECT_EQ(pipeline.Apply("a" + kReplacement + "\xE9", NameContext{}, nullptr),
              "A" + kReplacement + "\xE9");
}

}  // namespace
}  // namespace morvane

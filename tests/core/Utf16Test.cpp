#include <gtest/gtest.h>

#include "platform/Utf16.h"

namespace morvane {
namespace {

const std::string kA = "\xE3\x81\x82";          // あ, one unit
const std::string kSmile = "\xF0\x9F\x98\x80";  // U+1F600, a surrogate pair

TEST(Utf16Test, LengthCountsUnitsAndOneUnitPerInvalidByte) {
    struct Case {
        std::string text;
        std::size_t units;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 3},
        {kA, 1},
        {kSmile, 2},
        {"a" + kA + kSmile + "b", 5},
        {"\xEF\xBF\xBF", 1},      // U+FFFF, last of the BMP
        {"\xF4\x8F\xBF\xBF", 2},  // U+10FFFF
        {"\xFF", 1},              // never valid
        {"\xE3\x81", 2},          // cut short: each byte on its own
        {"\xC0\xAF", 2},          // overlong "/"
        {"\xED\xA0\x80", 3},      // an encoded surrogate
        {"\xF4\x90\x80\x80", 4},  // above U+10FFFF
        {"a\x80"
         "b",
         3},  // stray continuation byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf16Length(c.text), c.units) << "input of " << c.text.size() << " bytes";
}

TEST(Utf16Test, LengthOfLongTextsAgreesWithTheUnitsOneByOne) {
    // Runs of ASCII long enough to be counted eight bytes at a time, with other characters and
    // invalid bytes at every offset around them, and ASCII tails of every length.
    const std::string pieces[] = {kA, kSmile, "\xFF", "\xE3\x81", "\x80"};
    for (const std::string& piece : pieces) {
        for (std::size_t before = 0; before < 18; ++before) {
            const std::string text = std::string(before, 'a') + piece +
                                     std::string(17 - before, 'b') + piece +
                                     std::string(before, 'c');
            std::size_t units = 0;
            ForEachUtf16Unit(text, [&](std::uint16_t) { ++units; });
            EXPECT_EQ(Utf16Length(text), units) << before << " bytes before";
        }
    }
}

TEST(Utf16Test, PrefixCutsBetweenCharactersNeverInsideAPair) {
    const std::string text = "a" + kSmile + kA;  // units: 1, 2, 1
    EXPECT_EQ(Utf16Prefix(text, 0), "");
    EXPECT_EQ(Utf16Prefix(text, 1), "a");
    EXPECT_EQ(Utf16Prefix(text, 2), "a");  // half a pair is not taken
    EXPECT_EQ(Utf16Prefix(text, 3), "a" + kSmile);
    EXPECT_EQ(Utf16Prefix(text, 4), text);
    EXPECT_EQ(Utf16Prefix(text, 1000), text);
    // Invalid bytes are one unit each and are kept as they are.
    EXPECT_EQ(Utf16Prefix("\xFF\xFE"
                          "b",
                          2),
              "\xFF\xFE");
}

TEST(Utf16Test, ValidUtf8IsTellingTheBoundaries) {
    for (const std::string& valid :
         {std::string(), std::string("plain"), kA, kSmile, std::string("\x7F"),
          std::string("\xC2\x80"), std::string("\xEF\xBF\xBF"), std::string("\xF4\x8F\xBF\xBF"),
          std::string("\xEE\x80\x80")}) {
        EXPECT_TRUE(IsValidUtf8(valid)) << valid.size() << " bytes";
    }
    for (const std::string& invalid :
         {std::string("\xFF"), std::string("\xC0\xAF"), std::string("\xE0\x80\x80"),
          std::string("\xED\xA0\x80"), std::string("\xED\xBF\xBF"), std::string("\xF4\x90\x80\x80"),
          std::string("\xE3\x81"), std::string("a\x80"), std::string("\xF8\x88\x80\x80\x80")}) {
        EXPECT_FALSE(IsValidUtf8(invalid)) << invalid.size() << " bytes";
    }
}

}  // namespace
}  // namespace morvane

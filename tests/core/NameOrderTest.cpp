#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ops/registration/NameOrder.h"

namespace morvane {
namespace {

std::vector<std::string> Ordered(const std::vector<std::string>& names) {
    const std::vector<std::string_view> views(names.begin(), names.end());
    std::vector<std::string> out;
    for (const std::size_t i : NameOrder(views))
        out.push_back(names[i]);
    return out;
}

TEST(NameOrderTest, FullWidthAndOtherUnicodeDigitsAreNumbers) {
    EXPECT_EQ(
        Ordered({"10 - c.flac", "０５ - さくら.flac", "4 - b.flac", "a.flac",
                 "\xD9\xA3 - arabic.flac", "06 - x.flac", "１２ - d.flac"}),
        (std::vector<std::string>{"\xD9\xA3 - arabic.flac", "4 - b.flac", "０５ - さくら.flac",
                                  "06 - x.flac", "10 - c.flac", "１２ - d.flac", "a.flac"}));
    // A run mixes the forms of its digits; "５" and "5" stay apart but side by side.
    EXPECT_EQ(Ordered({"IMG_1０", "IMG_9", "IMG_５", "IMG_5"}),
              (std::vector<std::string>{"IMG_5", "IMG_５", "IMG_9", "IMG_1０"}));
    // Not digits: circled and superscript numbers, and bytes that are not UTF-8.
    EXPECT_EQ(Ordered({"\xE2\x91\xA0", "2",
                       "\xFF"
                       "1",
                       "\xC2\xB2"}),
              (std::vector<std::string>{"2", "\xC2\xB2", "\xE2\x91\xA0",
                                        "\xFF"
                                        "1"}));
}

}  // namespace
}  // namespace morvane

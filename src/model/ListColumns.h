#pragma once

#include <array>

namespace morvane {

// Column indexes never change; the user may only change the display order.
enum ListColumn : int {
    ColIcon = 0,
    ColCurrentName = 1,
    ColNewName = 2,
    ColCharCount = 3,
    ColSize = 4,
    ColType = 5,
    ColModified = 6,
    ColRowNumber = 7,
    ColError = 8,
    ColDirectory = 9,
    ColExtension = 10,
    ColAttributes = 11,
    ColumnCount = 12,
};

enum class ColumnAlign { Left, Right };

struct ColumnLayout {
    const char* heading;
    ColumnAlign align;
    int width;
};

inline constexpr std::array<ColumnLayout, ColumnCount> kColumns = {{
    {"", ColumnAlign::Right, 22},
    {"現在のファイル名", ColumnAlign::Left, 200},
    {"新しいファイル名", ColumnAlign::Left, 200},
    {"文字数", ColumnAlign::Right, 50},
    {"サイズ", ColumnAlign::Right, 70},
    {"種類", ColumnAlign::Left, 180},
    {"更新日時", ColumnAlign::Left, 128},
    {"行", ColumnAlign::Right, 50},
    {"エラー", ColumnAlign::Left, 200},
    {"ディレクトリ", ColumnAlign::Left, 500},
    {"拡張子", ColumnAlign::Left, 60},
    {"属性", ColumnAlign::Left, 40},
}};

// Row number first, error last.
inline constexpr std::array<int, ColumnCount> kDisplayOrder = {7, 0, 1, 2,  3,  4,
                                                               5, 6, 9, 10, 11, 8};

}  // namespace morvane

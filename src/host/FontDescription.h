#pragma once
// A font as the settings describe it (the fields of font creation).

#include <string>

namespace morvane {

struct FontDescription {
    int size = 12;  // cell height in pixels
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    int italic = 0;
    int underline = 0;
    int strikeOut = 0;
    int charSet = 128;
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 1;
    std::string faceName;
};

}  // namespace morvane

#include "platform/Utf16.h"

#include <cstring>

namespace morvane {
namespace detail {

std::size_t DecodeUtf8(std::string_view text, std::size_t i, std::uint32_t* codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    const std::uint32_t invalid = 0xDC00u + b0;
    if (b0 < 0x80) {
        *codePoint = b0;
        return 1;
    }
    std::size_t len = 0;
    std::uint32_t cp = 0;
    std::uint32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        *codePoint = invalid;
        return 1;
    }
    if (i + len > text.size()) {
        *codePoint = invalid;
        return 1;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            *codePoint = invalid;
            return 1;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        *codePoint = invalid;
        return 1;
    }
    *codePoint = cp;
    return len;
}

}  // namespace detail

std::size_t Utf16Length(std::string_view text) {
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // Eight ASCII bytes are eight units: paths are mostly ASCII, and every row is counted.
        if (i + 8 <= text.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                n += 8;
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++n;
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        i += detail::DecodeUtf8(text, i, &cp);
        n += cp >= 0x10000 ? 2 : 1;
    }
    return n;
}

std::string_view Utf16Prefix(std::string_view text, std::size_t maxUnits) {
    std::size_t i = 0;
    std::size_t units = 0;
    while (i < text.size()) {
        std::uint32_t cp = 0;
        const std::size_t len = detail::DecodeUtf8(text, i, &cp);
        const std::size_t w = cp >= 0x10000 ? 2 : 1;
        if (units + w > maxUnits)
            break;
        units += w;
        i += len;
    }
    return text.substr(0, i);
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::uint32_t cp = 0;
        i += detail::DecodeUtf8(text, i, &cp);
        if (cp >= 0xDC00 && cp <= 0xDCFF) {
            // Only produced for invalid bytes: valid text never decodes to a lone surrogate.
            return false;
        }
    }
    return true;
}

}  // namespace morvane

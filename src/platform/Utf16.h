#pragma once
// Lengths and hashes that the program defines in UTF-16 code units, computed on UTF-8 text.
// A byte that does not start a valid UTF-8 sequence counts as one unit of its own, so names
// that are not valid UTF-8 still get a stable length and hash.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

// Calls fn(uint16_t unit) for every UTF-16 unit of the text.
template <class Fn>
void ForEachUtf16Unit(std::string_view text, Fn&& fn);

std::size_t Utf16Length(std::string_view text);

// The longest prefix of text that holds at most maxUnits UTF-16 units, cut between characters.
std::string_view Utf16Prefix(std::string_view text, std::size_t maxUnits);

bool IsValidUtf8(std::string_view text);

namespace detail {
// Decodes one character at text[i]; returns its length in bytes and the code point, or
// length 1 and 0xDC00 + byte for a byte that is not valid UTF-8.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, std::uint32_t* codePoint);

// Calls fn with the one or two UTF-16 units of a code point.
template <class Fn>
void ForEachUnitOf(std::uint32_t cp, Fn&& fn) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        fn(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
        fn(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        fn(static_cast<std::uint16_t>(cp));
    }
}
}  // namespace detail

template <class Fn>
void ForEachUtf16Unit(std::string_view text, Fn&& fn) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Paths are mostly ASCII; those bytes need no decoding.
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            fn(static_cast<std::uint16_t>(byte));
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        i += detail::DecodeUtf8(text, i, &cp);
        detail::ForEachUnitOf(cp, fn);
    }
}

}  // namespace morvane

#pragma once
// Code point positions in UTF-8 text.

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

std::size_t CodePointCount(std::string_view text);
// Byte offset of the code point at `index`, clamped to the end; never inside a sequence.
std::size_t ByteOffsetOf(std::string_view text, std::size_t index);

}  // namespace morvane

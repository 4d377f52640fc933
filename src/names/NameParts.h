#pragma once
// Splitting a name into stem and extension, and code point positions in UTF-8 text.

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

// The extension follows the last '.' that is not the first character: ".bashrc" has none,
// "a.tar.gz" has "gz". Returns the index of that '.', or npos.
std::size_t ExtensionDot(std::string_view name);
std::string StemOf(std::string_view name);
std::string ExtensionOf(std::string_view name);

std::size_t CodePointCount(std::string_view text);
// Byte offset of the code point at `index`, clamped to the end; never inside a sequence.
std::size_t ByteOffsetOf(std::string_view text, std::size_t index);

}  // namespace morvane

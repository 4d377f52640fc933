#pragma once
// Unicode full case folding, for file systems that take "Ä.txt" and "ä.txt" for one name.
// Only valid UTF-8 is folded: a byte that belongs to no valid sequence stays as it is, so names
// that are not UTF-8 are one name only where those bytes are equal too.

#include <string>
#include <string_view>

namespace morvane {

std::string FoldCase(std::string_view text);

// True when both texts fold to the same text.
bool SameUnderCaseFolding(std::string_view a, std::string_view b);

}  // namespace morvane

#pragma once
// The order a file manager shows the entries of a folder in: by name, letters without regard
// to ASCII case, runs of digits compared as the numbers they write (IMG_2 before IMG_10),
// full-width and other Unicode decimal digits as well (０５ between 4 and 6).

#include <string_view>
#include <vector>

namespace morvane {

// The positions of `names` in that order. Names that differ only in case or in leading
// zeros still have a fixed order, so a folder's order never depends on how the disk lists it.
std::vector<std::size_t> NameOrder(const std::vector<std::string_view>& names);

}  // namespace morvane

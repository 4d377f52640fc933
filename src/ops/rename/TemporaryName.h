#pragma once
// The temporary name a file takes while another one moves onto its name: a counter, a mark
// no user picks, and as much of the file's own name as still fits the folder's name limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

// "%08x[MORVANE]_" + name, cut at a character boundary to at most nameMax bytes.
std::string TemporaryName(std::uint32_t counter, std::string_view name, std::size_t nameMax);

}  // namespace morvane

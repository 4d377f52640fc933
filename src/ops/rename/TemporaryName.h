#pragma once
// The temporary name a file takes while another one moves onto its name: a counter, a mark
// no user picks, and as much of the file's own name as still fits the folder's name limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/NameLimit.h"

namespace morvane {

// "%08x[MORVANE]_" + name, cut at a character boundary so that the whole fits the limit.
std::string TemporaryName(std::uint32_t counter, std::string_view name, const NameLimit& limit);

// Whether `name` is one of those; *original gets what follows the mark: the file's old name,
// or its beginning where the limit cut it.
bool IsTemporaryName(std::string_view name, std::string* original);

// The same for a folder whose limit is counted in bytes.
inline std::string TemporaryName(std::uint32_t counter, std::string_view name,
                                 std::size_t nameMax) {
    return TemporaryName(counter, name, NameLimit{nameMax, false});
}

}  // namespace morvane

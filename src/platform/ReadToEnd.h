#pragma once
// Reading an open descriptor whole: standard input, a pipe, a file of /proc that tells no size.

#include <cstdint>
#include <string>

namespace morvane {

// Appends what the descriptor holds up to its end to `text`: 0, the errno of a failed read,
// or EFBIG once `text` would grow beyond maxBytes (a file of /proc tells no size, and a file
// may grow while it is read).
int ReadAtMost(int fd, std::uint64_t maxBytes, std::string* text);
// The same without a bound; false on a read error.
bool ReadToEnd(int fd, std::string* text);

}  // namespace morvane

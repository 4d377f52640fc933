#pragma once
// Reading an open descriptor whole: standard input, a pipe, a file of /proc that tells no size.

#include <string>

namespace morvane {

// Appends what the descriptor holds up to its end to `text`; false on a read error.
bool ReadToEnd(int fd, std::string* text);

}  // namespace morvane

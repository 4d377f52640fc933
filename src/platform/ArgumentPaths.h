#pragma once
// Paths the program is given from outside: on its command line, or one per line (or per NUL)
// on its standard input. All bytes, as the file system names them.

#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The working directory without a trailing "/" ("/" for the root); empty when it cannot be told.
std::string CurrentDirectory();

// `path` as a full path: joined to `base` unless it starts with "/", then with the "." and
// empty components dropped and each ".." taking off the component before it, as a shell's
// `cd -L` or a file manager would. Empty for an empty path.
std::string AbsolutePath(std::string_view base, std::string_view path);

// The paths of a list separated by `separator` ('\n' or '\0'); empty entries are skipped, and
// with '\n' a carriage return before it too, so a list written on Windows reads the same.
std::vector<std::string> SplitPathList(std::string_view text, char separator);

}  // namespace morvane

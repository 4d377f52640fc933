#pragma once
// Whether a folder's names fold case ("A.JPG" and "a.jpg" one name), learnt without changing
// anything: from the folder's casefold flag, or by asking for an entry under another spelling.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The name with every ASCII letter in the other case.
std::string SwappedCase(const std::string& name);

// From the folder's entries and a look-up of a path-less name (lstat): an entry with letters
// is asked for in the other case. Found, though the listing does not hold that spelling, the
// folder folds case; not found, it does not. Nothing when no entry can ask (none with
// letters, or every look-up failed otherwise than by absence).
std::optional<bool> FoldsCaseByEntries(const std::vector<std::string>& names,
                                       const std::function<int(const std::string&)>& lookUp);

// The same on the disk: the folder is read and one lstat made.
std::optional<bool> FoldsCaseByProbe(const std::string& folder);

// The folder carries the casefold flag (ext4, f2fs, tmpfs made with it).
bool HasCasefoldFlag(const std::string& folder);

}  // namespace morvane

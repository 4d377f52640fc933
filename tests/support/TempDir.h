#pragma once
// A real temporary folder for a test, removed with everything in it at the end.

#include <map>
#include <string>
#include <vector>

namespace morvane::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Full path without a trailing "/".
    const std::string& path() const { return path_; }
    // path() + "/" + relative.
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

    // Creates a file (and its folders) holding the content; returns its full path.
    std::string MakeFile(const std::string& relative, const std::string& content = "");
    std::string MakeFolder(const std::string& relative);
    // Names in a folder, sorted.
    std::vector<std::string> Names(const std::string& relative = "") const;

private:
    std::string path_;
};

std::string ReadFileText(const std::string& path);
bool PathExists(const std::string& path);
// Every path under the folder ("/…") with the content of each file ("/" for a folder).
std::map<std::string, std::string> Snapshot(const std::string& root);

}  // namespace morvane::test

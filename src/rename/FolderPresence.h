#pragma once
// "Does anything exist at this path?" for many paths in few folders: a folder asked about
// often is read once instead of taking one lstat per path. The answers are those of the
// moment each folder is read, so use it only while the program itself changes nothing there.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace morvane {

class FileSystem;

class FolderPresence {
public:
    explicit FolderPresence(FileSystem& fs) : fs_(fs) {}

    // Announces a coming question about a path; folders with enough of them are read whole.
    void Expect(const std::string& path);
    // As FileSystem::Exists: a dangling link occupies its name.
    bool Exists(const std::string& path);

private:
    // Below this many questions a folder is cheaper to ask path by path.
    static constexpr std::size_t kReadFrom = 16;

    struct Folder {
        std::size_t expected = 0;
        bool read = false;
        bool readable = false;
        std::unordered_set<std::string> names;
    };

    FileSystem& fs_;
    std::unordered_map<std::string, Folder> folders_;
};

}  // namespace morvane

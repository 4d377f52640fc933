#include "support/TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace morvane::test {

TempDir::TempDir() {
    std::string pattern = "/tmp/morvane-test-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Make read-only folders deletable again before removing the tree.
    for (auto it = std::filesystem::recursive_directory_iterator(
             path_, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            chmod(it->path().c_str(), 0755);
    }
    chmod(path_.c_str(), 0755);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::MakeFile(const std::string& relative, const std::string& content) {
    const std::string full = *this / relative;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream out(full, std::ios::binary);
    out << content;
    return full;
}

std::string TempDir::MakeFolder(const std::string& relative) {
    const std::string full = *this / relative;
    std::filesystem::create_directories(full);
    return full;
}

std::vector<std::string> TempDir::Names(const std::string& relative) const {
    std::vector<std::string> names;
    const std::string dir = relative.empty() ? path_ : *this / relative;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> tree;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        const std::string path = item.path().string().substr(root.size());
        tree[path] = item.is_directory() ? "/" : ReadFileText(item.path().string());
    }
    return tree;
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

}  // namespace morvane::test

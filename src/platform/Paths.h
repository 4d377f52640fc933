#pragma once
// Paths and names split and joined in one place. A path's folder is everything up to and
// including its last '/', its name everything after it. Where a folder is kept without its
// final '/', the root is "" so that folder + "/" + name is still a path.

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

// Where the name starts: just after the last '/', or 0 when there is none.
constexpr std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// The folder with its final '/', as the folder column shows it: "/a/" for "/a/b", "/" for
// "/b", "" for a bare name.
constexpr std::string_view FolderOf(std::string_view path) {
    return path.substr(0, NameStart(path));
}

// "b" for "/a/b", the whole text for a bare name, "" for "/a/".
constexpr std::string_view NameOf(std::string_view path) {
    return path.substr(NameStart(path));
}

// The parent folder as a path of its own: "/a" for "/a/b", "/" for "/b", "" for a bare name.
constexpr std::string_view ParentOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return path.substr(0, slash == 0 ? 1 : slash);
}

// One final '/' taken off: "/a/" gives "/a", and the root "/" gives "".
constexpr std::string_view WithoutFinalSlash(std::string_view folder) {
    if (!folder.empty() && folder.back() == '/')
        folder.remove_suffix(1);
    return folder;
}

// Every trailing '/' taken off, the root staying "/": "/a//" gives "/a".
constexpr std::string_view WithoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

// folder + "/" + name, where the root folder may be given as "" or "/" and a folder that
// ends with '/' gets no second one.
std::string JoinPath(std::string_view folder, std::string_view name);
// The same appended to `path`.
void AppendJoinedPath(std::string_view folder, std::string_view name, std::string* path);

// Two meanings of a name's extension. They differ where a name starts with a dot:
//
//   name        ExtensionCell  SuffixOf  StemOf
//   "a.tar.gz"  "gz"           "gz"      "a.tar"
//   ".bashrc"   "bashrc"       ""        ".bashrc"
//   "a."        ""             ""        "a"
//   "."         ""             ""        "."
//   "a"         ""             ""        "a"
//
// The list's extension column: whatever follows the last '.'. Lists have always shown and
// stored it so, hidden files included.
constexpr std::string_view ExtensionCell(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

// The name tools' extension follows the last '.' that is not the first character: a hidden
// file's name is all stem. Returns the index of that '.', or npos.
constexpr std::size_t SuffixDot(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == 0 ? std::string_view::npos : dot;
}

constexpr std::string_view StemOf(std::string_view name) {
    return name.substr(0, SuffixDot(name));
}

constexpr std::string_view SuffixOf(std::string_view name) {
    const std::size_t dot = SuffixDot(name);
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

}  // namespace morvane

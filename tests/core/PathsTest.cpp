#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "platform/Paths.h"

namespace morvane {
namespace {

// Bytes that are no UTF-8: names on disk may hold them, and "\xC0\xAF" (an overlong "/")
// must not split a path.
const std::string kBad = "\xFF\xC0\xAF";

struct SplitCase {
    std::string path;
    std::string folder;  // FolderOf
    std::string name;    // NameOf
    std::string parent;  // ParentOf
};

TEST(PathsTest, FolderNameAndParentSplitAtTheLastSlash) {
    const SplitCase cases[] = {
        {"", "", "", ""},
        {"/", "/", "", "/"},
        {"//", "//", "", "/"},
        {"a", "", "a", ""},
        {"/a", "/", "a", "/"},
        {"a/", "a/", "", "a"},
        {"/a/", "/a/", "", "/a"},
        {"/a/b", "/a/", "b", "/a"},
        {"/a//b", "/a//", "b", "/a/"},
        {"a/b", "a/", "b", "a"},
        {"/a.b/c", "/a.b/", "c", "/a.b"},
        {"/x/.bashrc", "/x/", ".bashrc", "/x"},
        {"/" + kBad + "/n" + kBad, "/" + kBad + "/", "n" + kBad, "/" + kBad},
        {"/a" + kBad, "/", "a" + kBad, "/"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE("path \"" + c.path + "\"");
        EXPECT_EQ(FolderOf(c.path), c.folder);
        EXPECT_EQ(NameOf(c.path), c.name);
        EXPECT_EQ(ParentOf(c.path), c.parent);
        EXPECT_EQ(NameStart(c.path), c.folder.size());
        // The folder and the name are the path, cut once.
        EXPECT_EQ(std::string(FolderOf(c.path)) + std::string(NameOf(c.path)), c.path);
    }
}

TEST(PathsTest, SplitsAreViewsIntoThePath) {
    const std::string path = "/home/user/photo.jpg";
    EXPECT_EQ(FolderOf(path).data(), path.data());
    EXPECT_EQ(NameOf(path).data(), path.data() + 11);
    EXPECT_EQ(ParentOf(path).data(), path.data());
}

TEST(PathsTest, WithoutFinalSlashTakesOneAndLeavesTheRootEmpty) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"/", ""},
        {"//", "/"},
        {"a", "a"},
        {"a/", "a"},
        {"/a", "/a"},
        {"/a/", "/a"},
        {"/a//", "/a/"},
        {"/a/b/", "/a/b"},
        {kBad + "/", kBad},
        {"/" + kBad, "/" + kBad},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(WithoutFinalSlash(in), out) << "input \"" << in << "\"";
}

TEST(PathsTest, WithoutTrailingSlashesTakesAllAndKeepsTheRoot) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},      {"/", "/"},      {"//", "/"},      {"///", "/"},
        {"a", "a"},    {"a/", "a"},     {"a//", "a"},     {"/a", "/a"},
        {"/a/", "/a"}, {"/a///", "/a"}, {"/a/b", "/a/b"}, {"/" + kBad + "//", "/" + kBad},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(WithoutTrailingSlashes(in), out) << "input \"" << in << "\"";
}

TEST(PathsTest, JoinPathPutsOneSlashBetweenAndTakesTheRootEitherWay) {
    struct Case {
        std::string folder;
        std::string name;
        std::string path;
    };
    const Case cases[] = {
        {"", "a", "/a"},
        {"/", "a", "/a"},
        {"/x", "a", "/x/a"},
        {"/x/", "a", "/x/a"},
        {"/x/y", "a.b", "/x/y/a.b"},
        {"x", "a", "x/a"},
        {"/x", "", "/x/"},
        {"", "", "/"},
        {"/" + kBad, kBad, "/" + kBad + "/" + kBad},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JoinPath(c.folder, c.name), c.path)
            << "folder \"" << c.folder << "\", name \"" << c.name << "\"";
        std::string appended = "kept";
        AppendJoinedPath(c.folder, c.name, &appended);
        EXPECT_EQ(appended, "kept" + c.path);
    }
}

TEST(PathsTest, JoinUndoesTheSplitOfAFullPath) {
    const std::string paths[] = {"/a", "/a/b", "/a/b/c.d", "/.x/" + kBad};
    for (const std::string& path : paths) {
        EXPECT_EQ(JoinPath(ParentOf(path), NameOf(path)), path);
        EXPECT_EQ(JoinPath(WithoutFinalSlash(FolderOf(path)), NameOf(path)), path);
    }
}

struct ExtensionCase {
    std::string name;
    std::string cell;    // ExtensionCell
    std::string suffix;  // SuffixOf
    std::string stem;    // StemOf
};

TEST(PathsTest, TheTwoExtensionsDifferOnlyOnALeadingDot) {
    const ExtensionCase cases[] = {
        {"", "", "", ""},
        {"a", "", "", "a"},
        {"a.txt", "txt", "txt", "a"},
        {"a.tar.gz", "gz", "gz", "a.tar"},
        {"a.", "", "", "a"},
        {"a..", "", "", "a."},
        {".", "", "", "."},
        {"..", "", "", "."},
        {".bashrc", "bashrc", "", ".bashrc"},
        {".config.old", "old", "old", ".config"},
        {"写真.JPG", "JPG", "JPG", "写真"},
        {kBad + ".x" + kBad, "x" + kBad, "x" + kBad, kBad},
        {"." + kBad, kBad, "", "." + kBad},
    };
    for (const ExtensionCase& c : cases) {
        SCOPED_TRACE("name \"" + c.name + "\"");
        EXPECT_EQ(ExtensionCell(c.name), c.cell);
        EXPECT_EQ(SuffixOf(c.name), c.suffix);
        EXPECT_EQ(StemOf(c.name), c.stem);
        const std::size_t dot = SuffixDot(c.name);
        if (dot == std::string_view::npos) {
            EXPECT_EQ(c.stem, c.name);
        } else {
            EXPECT_EQ(c.name.substr(0, dot), c.stem);
            EXPECT_EQ(c.name.substr(dot + 1), c.suffix);
        }
    }
}

}  // namespace
}  // namespace morvane

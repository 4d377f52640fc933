#include "platform/Directories.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace morvane {
namespace {

// Far beyond what user-dirs.dirs or the mount table hold.
constexpr std::uint64_t kSmallFileBytes = 64 << 20;

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return {};
}

std::string UserName() {
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_name != nullptr) {
        return pw->pw_name;
    }
    if (const char* user = std::getenv("USER"); user != nullptr)
        return user;
    return {};
}

// /proc/self/mountinfo escapes blanks and a few other bytes as \ooo.
std::string UnescapeMountPath(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const std::string oct = s.substr(i + 1, 3);
            if (oct.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(oct, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

}  // namespace

std::string ProgramPath(FileSystem& fs) {
    std::string path;
    if (!fs.ReadLink("/proc/self/exe", &path).Ok())
        return {};
    return path;
}

std::string ProgramDirectory(FileSystem& fs) {
    const std::string path = ProgramPath(fs);
    if (path.empty())
        return {};
    // A program in "/" has the folder "/", not the empty text that means failure.
    const std::string_view folder = ParentOf(path);
    return std::string(folder.empty() ? std::string_view(path) : folder);
}

std::string TempDirectory() {
    std::string dir;
    if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp != '\0')
        dir = tmp;
    if (dir.empty())
        dir = "/tmp/";
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

std::string ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        return xdg;
    }
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/.config";
}

std::string StateHome() {
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && *xdg == '/')
        return xdg;
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/.local/state";
}

std::string UserFolderPath(FileSystem& fs, UserFolder which) {
    static const char* const keys[] = {"XDG_DOCUMENTS_DIR", "XDG_PICTURES_DIR", "XDG_MUSIC_DIR",
                                       "XDG_VIDEOS_DIR", "XDG_DESKTOP_DIR"};
    static const char* const fallbacks[] = {"Documents", "Pictures", "Music", "Videos", "Desktop"};
    const auto index = static_cast<std::size_t>(which);
    const std::string home = HomeDirectory();
    if (home.empty())
        return {};
    std::string content;
    if (!fs.ReadFile(ConfigHome() + "/user-dirs.dirs", kSmallFileBytes, &content).Ok())
        content.clear();
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(keys[index], 0) != 0)
            continue;
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (open == std::string::npos || close <= open)
            continue;
        std::string value = line.substr(open + 1, close - open - 1);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        if (value.empty() || value == home || value == home + "/")
            return {};
        return value;
    }
    return home + "/" + fallbacks[index];
}

std::vector<std::string> RemovableMountPoints(FileSystem& fs) {
    std::vector<std::string> result;
    const std::string user = UserName();
    if (user.empty())
        return result;
    const std::string prefixes[] = {"/media/" + user + "/", "/run/media/" + user + "/"};
    std::string content;
    if (!fs.ReadFile("/proc/self/mountinfo", kSmallFileBytes, &content).Ok())
        return result;
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, devnum, root, mountPoint;
        if (!(fields >> id >> parent >> devnum >> root >> mountPoint))
            continue;
        mountPoint = UnescapeMountPath(mountPoint);
        for (const auto& prefix : prefixes) {
            if (mountPoint.rfind(prefix, 0) == 0 && mountPoint.size() > prefix.size()) {
                result.push_back(mountPoint);
            }
        }
    }
    return result;
}

}  // namespace morvane

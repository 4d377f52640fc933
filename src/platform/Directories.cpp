#include "platform/Directories.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace morvane {
namespace {

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

std::string ProgramPath() {
    std::string buffer(4096, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string ProgramDirectory() {
    const std::string path = ProgramPath();
    if (path.empty())
        return {};
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return path;
    // A program in "/" has the folder "/", not the empty text that means failure.
    return slash == 0 ? std::string("/") : path.substr(0, slash);
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

bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsWritableDirectory(const std::string& dir) {
    return !dir.empty() && access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string UserFolderPath(UserFolder which) {
    static const char* const keys[] = {"XDG_DOCUMENTS_DIR", "XDG_PICTURES_DIR", "XDG_MUSIC_DIR",
                                       "XDG_VIDEOS_DIR", "XDG_DESKTOP_DIR"};
    static const char* const fallbacks[] = {"Documents", "Pictures", "Music", "Videos", "Desktop"};
    const auto index = static_cast<std::size_t>(which);
    const std::string home = HomeDirectory();
    if (home.empty())
        return {};
    std::ifstream in(ConfigHome() + "/user-dirs.dirs");
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

std::vector<std::string> RemovableMountPoints() {
    std::vector<std::string> result;
    const std::string user = UserName();
    if (user.empty())
        return result;
    const std::string prefixes[] = {"/media/" + user + "/", "/run/media/" + user + "/"};
    std::ifstream in("/proc/self/mountinfo");
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

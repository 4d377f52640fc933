#include "platform/ArgumentPaths.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

namespace morvane {

std::string CurrentDirectory() {
    std::string buffer(PATH_MAX, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        // A working directory deeper than PATH_MAX is legal; try a larger buffer.
        if (errno != ERANGE || buffer.size() > (1u << 24))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::string AbsolutePath(std::string_view base, std::string_view path) {
    if (path.empty())
        return {};
    std::string joined;
    if (path.front() != '/') {
        joined.assign(base);
        joined += '/';
    }
    joined += path;
    std::string result;
    std::size_t at = 0;
    while (at < joined.size()) {
        std::size_t end = joined.find('/', at);
        if (end == std::string::npos)
            end = joined.size();
        const std::string_view part(joined.data() + at, end - at);
        if (part == "..") {
            result.resize(result.empty() ? 0 : result.rfind('/'));
        } else if (!part.empty() && part != ".") {
            result += '/';
            result += part;
        }
        at = end + 1;
    }
    return result.empty() ? std::string("/") : result;
}

std::vector<std::string> SplitPathList(std::string_view text, char separator) {
    std::vector<std::string> paths;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(separator, at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view entry = text.substr(at, end - at);
        if (separator == '\n' && !entry.empty() && entry.back() == '\r')
            entry.remove_suffix(1);
        if (!entry.empty())
            paths.emplace_back(entry);
        at = end + 1;
    }
    return paths;
}

}  // namespace morvane

#pragma once
// A desktop of a test's own: private XDG folders with one handler for text/plain and folders
// (a script that records its argument), the system's MIME database, and nothing else.

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace morvane::test {

// Sets environment variables and puts the old values back.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Set(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old != nullptr ? std::optional<std::string>(old) : std::nullopt});
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                setenv(it->first, it->second->c_str(), 1);
            } else {
                unsetenv(it->first);
            }
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

inline std::string MakeScript(TempDir& dir, const std::string& name, const std::string& body) {
    const std::string path = dir.MakeFile(name, "#!/bin/sh\n" + body);
    chmod(path.c_str(), 0755);
    return path;
}

// Waits (bounded) until the file holds complete lines and returns them.
inline std::string WaitForLine(const std::string& path, std::size_t lines = 1) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text = ReadFileText(path);
        std::size_t count = 0;
        for (char c : text)
            count += c == '\n' ? 1 : 0;
        if (count >= lines && text.back() == '\n')
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return text;
}

class PrivateDesktop {
public:
    // withFolders: folders open in the recorder too (a file manager of sorts).
    explicit PrivateDesktop(TempDir& dir, bool withFolders = false)
        : dir_(dir), record(dir / "desktop/record.txt") {
        const std::string handler = MakeScript(dir, "desktop/bin/recorder.sh",
                                               "printf '%s\\n' \"$1\" >> '" + record + "'\n");
        const std::string types = withFolders ? "text/plain;inode/directory;" : "text/plain;";
        dir.MakeFile("desktop/data/applications/morvane-recorder.desktop",
                     "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + handler +
                         " %f\nMimeType=" + types + "\nTerminal=false\n");
        std::string defaults = "[Default Applications]\ntext/plain=morvane-recorder.desktop\n";
        if (withFolders)
            defaults += "inode/directory=morvane-recorder.desktop\n";
        dir.MakeFile("desktop/config/mimeapps.list", defaults);
        dir.MakeFolder("desktop/dirs");
        symlink("/usr/share/mime", (dir / "desktop/dirs/mime").c_str());
        env_.Set("XDG_DATA_HOME", dir / "desktop/data");
        env_.Set("XDG_CONFIG_HOME", dir / "desktop/config");
        env_.Set("XDG_DATA_DIRS", dir / "desktop/dirs");
        env_.Set("XDG_CONFIG_DIRS", dir / "desktop/config");
        env_.Set("XDG_CURRENT_DESKTOP", "");
    }
    // Takes the handler away: nothing opens anything any more.
    void RemoveHandler() {
        unlink((dir_ / "desktop/data/applications/morvane-recorder.desktop").c_str());
    }

private:
    TempDir& dir_;
    ScopedEnv env_;

public:
    const std::string record;
};

}  // namespace morvane::test

#include "RealMount.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

extern char** environ;

namespace morvane::test {
namespace {

// Where the mounts' folders are made; realfs-mount.sh sweep looks in the same place.
std::string Base() {
    if (const char* base = std::getenv("MORVANE_REALFS_BASE"); base != nullptr && *base != '\0')
        return base;
    const char* tmpdir = std::getenv("TMPDIR");
    std::string tmp = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
    while (tmp.size() > 1 && tmp.back() == '/')
        tmp.pop_back();
    return tmp + "/morvane-realfs";
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the script with its stdin from `input` (or /dev/null); its exit status and what it
// wrote, when `output` is given, else its output goes to /dev/null.
int RunScript(const std::vector<std::string>& arguments, int input, std::string* output) {
    std::vector<std::string> all = {MORVANE_REALFS_MOUNT};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (output != nullptr && pipe2(pipeEnds, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0)
        posix_spawn_file_actions_adddup2(&actions, input, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    for (const int fd : {1, 2}) {
        if (output != nullptr)
            posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], fd);
        else
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output != nullptr) {
        close(pipeEnds[1]);
        output->clear();
        char buffer[4096];
        for (ssize_t n; spawned == 0 && (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
            if (n > 0)
                output->append(buffer, static_cast<std::size_t>(n));
            else if (errno != EINTR)
                break;
        }
        close(pipeEnds[0]);
        while (!output->empty() && output->back() == '\n')
            output->pop_back();
    }
    if (spawned != 0) {
        if (output != nullptr)
            *output = "cannot start " + all[0] + ": " + std::strerror(spawned);
        return -1;
    }
    return WaitFor(pid);
}

// Leaves behind a process that takes the folder down once this process has ended, however it
// ended: it waits for the end of a pipe whose writing end only this process holds. That end,
// or -1.
int GuardFolder(const std::string& folder) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return -1;
    RunScript({"guard", folder}, pipeEnds[0], nullptr);
    close(pipeEnds[0]);
    return pipeEnds[1];
}

bool IsMountPoint(const std::string& path) {
    struct stat here {
    }, above{};
    return stat(path.c_str(), &here) == 0 && stat((path + "/..").c_str(), &above) == 0 &&
           here.st_dev != above.st_dev;
}

// Every mount this process made, taken down once the tests are over.
std::map<std::string, std::unique_ptr<RealMount>>& Mounts() {
    static std::map<std::string, std::unique_ptr<RealMount>> mounts;
    return mounts;
}

class TakeDownMounts : public ::testing::Environment {
public:
    void TearDown() override {
        Mounts().clear();
        // For ctest, which counts a test whose cases all skipped as skipped.
        const ::testing::UnitTest& tests = *::testing::UnitTest::GetInstance();
        if (tests.skipped_test_count() > 0 && tests.successful_test_count() == 0 &&
            tests.failed_test_count() == 0)
            std::printf("realfs: every case skipped\n");
    }
};
[[maybe_unused]] ::testing::Environment* const takeDown =
    ::testing::AddGlobalTestEnvironment(new TakeDownMounts);

}  // namespace

RealMount::RealMount(std::string kind) : kind_(std::move(kind)) {
    const std::string base = Base();
    std::error_code ec;
    std::filesystem::create_directories(base, ec);
    std::string pattern = base + "/" + kind_ + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        why_ = kind_ + ": cannot make a folder under " + base;
        return;
    }
    folder_ = pattern;
    // The sweep leaves alone the folders of processes that still run.
    std::ofstream(folder_ + "/owner") << getpid() << '\n';
    guard_ = GuardFolder(folder_);
    std::string said;
    mounted_ = RunScript({"mount", kind_, folder_}, -1, &said) == 0;
    if (!mounted_)
        why_ = said.empty() ? kind_ + ": realfs-mount.sh mount failed" : said;
}

RealMount::~RealMount() {
    if (!folder_.empty()) {
        std::string said;
        if (RunScript({"unmount", folder_}, -1, &said) != 0)
            std::fprintf(stderr, "%s: not taken down whole: %s\n", kind_.c_str(), said.c_str());
    }
    if (guard_ >= 0)
        close(guard_);
}

std::string RealMount::Remount() {
    std::string said;
    if (RunScript({"remount", folder_}, -1, &said) == 0)
        return {};
    mounted_ = IsMountPoint(Root());
    return said.empty() ? kind_ + ": realfs-mount.sh remount failed" : said;
}

RealMount& MountOf(const std::string& kind) {
    auto& mount = Mounts()[kind];
    if (!mount)
        mount = std::make_unique<RealMount>(kind);
    return *mount;
}

}  // namespace morvane::test

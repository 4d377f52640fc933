#include "platform/Shell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <system_error>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

extern char** environ;

namespace morvane {
namespace {

// How long we wait for the opener to hand the path over. GIO returns at once; xdg-open
// without a known desktop runs the application in the foreground, and we must not wait for
// that one to be closed.
constexpr auto kOpenerPatience = std::chrono::seconds(5);

std::string FindInPath(FileSystem& fs, const std::string& name) {
    const char* env = std::getenv("PATH");
    const std::string path = env != nullptr && *env != '\0' ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(':', start);
        const std::string dir = path.substr(start, end == std::string::npos ? end : end - start);
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        const auto info = fs.FindTarget(candidate);
        if (info && info->kind == FileKind::Regular &&
            fs.CheckAccess(candidate, AccessMode::Execute).Ok()) {
            return candidate;
        }
        if (end == std::string::npos)
            return {};
        start = end + 1;
    }
}

// Reaps the child whenever it ends, without making anyone wait for it.
void ReapInBackground(pid_t pid) {
    try {
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: take it now if it has already ended; otherwise it stays a
        // zombie until we exit, which is harmless.
        waitpid(pid, nullptr, WNOHANG);
    }
}

// Starts argv[0] (searched in PATH) with stdin from /dev/null, the signal mask cleared and
// SIGPIPE back to its default. 0 or an errno value.
int Spawn(const std::vector<std::string>& args, bool newSession, pid_t* pid) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    if (newSession)
        flags |= POSIX_SPAWN_SETSID;
#else
    (void)newSession;
#endif
    posix_spawnattr_setflags(&attr, flags);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    const int e = posix_spawnp(pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return e;
}

// The child's exit status, or -1 when it is still running after the patience ran out (it is
// then reaped in the background).
int WaitPatiently(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + kOpenerPatience;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        if (r < 0 && errno != EINTR)
            return 128;
        if (std::chrono::steady_clock::now() >= deadline) {
            ReapInBackground(pid);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// The folder a path lies in, "." for a bare name.
std::string FolderOrHere(const std::string& path) {
    const std::string_view folder = ParentOf(path);
    return folder.empty() ? std::string(".") : std::string(folder);
}

// Why a path cannot be opened at all; Started when it is there and readable.
ShellOutcome CheckOpenable(FileSystem& fs, const std::string& path) {
    if (!fs.Find(path) || !fs.FindTarget(path)) {
        // Why it is not there: the read of the link or of its target says.
        const FsStatus why = fs.CheckAccess(path, AccessMode::Read);
        if (why.error == ENOENT) {
            const auto parent = fs.FindTarget(FolderOrHere(path));
            return parent && parent->IsDirectory() ? ShellOutcome::FileNotFound
                                                   : ShellOutcome::PathNotFound;
        }
        return ShellOutcomeOfErrno(why.Ok() ? ENOENT : why.error);
    }
    if (fs.CheckAccess(path, AccessMode::Read).error == EACCES)
        return ShellOutcome::AccessDenied;
    return ShellOutcome::Started;
}

}  // namespace

ShellOutcome ShellOutcomeOfErrno(int error) {
    switch (error) {
        case 0:
            return ShellOutcome::Started;
        case ENOENT:
            return ShellOutcome::FileNotFound;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG:
            return ShellOutcome::PathNotFound;
        case EACCES:
        case EPERM:
        case ETXTBSY:
            return ShellOutcome::AccessDenied;
        case ENOEXEC:
            return ShellOutcome::BadFormat;
        case ENOMEM:
        case EAGAIN:
        case EMFILE:
        case ENFILE:
            return ShellOutcome::OutOfResources;
        default:
            return ShellOutcome::FileNotFound;
    }
}

ShellOutcome OpenWithDefaultApplication(FileSystem& fs, const std::string& path) {
    if (path.empty())
        return ShellOutcome::FileNotFound;
    if (const ShellOutcome failure = CheckOpenable(fs, path); failure != ShellOutcome::Started)
        return failure;
    // An absolute path cannot be taken for an option or a URI by the opener.
    const std::string target = path.front() == '/' ? path : "./" + path;
    std::vector<std::string> args;
    bool viaGio = false;
    if (std::string gio = FindInPath(fs, "gio"); !gio.empty()) {
        args = {gio, "open", target};
        viaGio = true;
    } else if (std::string xdg = FindInPath(fs, "xdg-open"); !xdg.empty()) {
        args = {xdg, target};
    } else {
        return ShellOutcome::NoAssociation;  // nothing on this desktop opens files
    }
    pid_t pid = 0;
    if (const int e = Spawn(args, false, &pid); e != 0)
        return ShellOutcomeOfErrno(e);
    const int status = WaitPatiently(pid);
    if (status <= 0)
        return ShellOutcome::Started;
    // The path was there and readable, so the opener failed to find a program for it.
    // xdg-open tells a path that vanished meanwhile by status 2; GIO uses 2 for everything.
    if (!viaGio && status == 2)
        return ShellOutcome::FileNotFound;
    return ShellOutcome::NoAssociation;
}

std::string FindProgram(FileSystem& fs, const std::string& name) {
    if (name.empty())
        return {};
    if (name.find('/') == std::string::npos)
        return FindInPath(fs, name);
    const auto info = fs.FindTarget(name);
    if (info && info->kind == FileKind::Regular && fs.CheckAccess(name, AccessMode::Execute).Ok())
        return name;
    return {};
}

ShellOutcome StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    if (program.empty())
        return ShellOutcome::FileNotFound;
    std::vector<std::string> args;
    args.reserve(arguments.size() + 1);
    args.push_back(program);
    args.insert(args.end(), arguments.begin(), arguments.end());
    pid_t pid = 0;
    if (const int e = Spawn(args, true, &pid); e != 0)
        return ShellOutcomeOfErrno(e);
    ReapInBackground(pid);
    return ShellOutcome::Started;
}

}  // namespace morvane

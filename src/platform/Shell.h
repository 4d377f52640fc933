#pragma once
// Handing files to other programs: opening a path with the desktop's default application,
// and starting a program detached from us.

#include <string>
#include <vector>

namespace morvane {

class FileSystem;

// How handing a path to another program went; each failure has its own message.
enum class ShellOutcome {
    Started,
    OutOfResources,
    FileNotFound,  // the folder is there, the file is not
    PathNotFound,  // a folder on the way is missing or not a folder
    AccessDenied,
    BadFormat,      // not a program that can be started
    NoAssociation,  // nothing on this desktop opens it
};

// Opens the path in the application the desktop associates with it (GIO's "gio open",
// else "xdg-open"), the way a double click in the file manager would. Waits only until the
// opener has handed the path over, not for the application.
ShellOutcome OpenWithDefaultApplication(FileSystem& fs, const std::string& path);

// The program's path: `name` itself when it holds a "/", else the first executable file of
// that name in PATH; empty when there is none.
std::string FindProgram(FileSystem& fs, const std::string& name);

// Starts the program (searched in PATH when it holds no "/") with the arguments, in its own
// session, and does not wait for it; it is reaped when it ends, so no zombie stays.
ShellOutcome StartDetached(const std::string& program, const std::vector<std::string>& arguments);

// The outcome for the errno value of a failed lookup or start.
ShellOutcome ShellOutcomeOfErrno(int error);

}  // namespace morvane

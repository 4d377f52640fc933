#pragma once
// Handing files to other programs: opening a path with the desktop's default application,
// and starting a program detached from us. Both answer with the result codes of the
// desktop's open call (above 32 is success; the failures are the ones the shell-error
// messages know).

#include <string>
#include <vector>

namespace morvane {

namespace shell {
inline constexpr int kOutOfResources = 8;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;
inline constexpr int kBadFormat = 11;
inline constexpr int kNoAssociation = 31;
inline constexpr int kSuccess = 42;
}  // namespace shell

// Opens the path in the application the desktop associates with it (GIO's "gio open",
// else "xdg-open"), the way a double click in the file manager would. Waits only until the
// opener has handed the path over, not for the application.
int OpenWithDefaultApplication(const std::string& path);

// Starts the program (searched in PATH when it holds no "/") with the arguments, in its own
// session, and does not wait for it; it is reaped when it ends, so no zombie stays.
int StartDetached(const std::string& program, const std::vector<std::string>& arguments);

// The result code for an errno value of a failed lookup or start.
int ShellResultFromErrno(int error);

}  // namespace morvane

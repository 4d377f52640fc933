#pragma once
// The folders the program works with, decided once at start-up.

#include <string>

namespace morvane {

struct Locations {
    std::string programDir;  // where the program's own file lies
    // Files under these prefixes are registered locked, never renamed: the installed
    // programs and libraries, and the system's configuration. The test is a plain prefix
    // match with no separator required after it, so "/usrdata" is covered too.
    std::string programPrefix;  // "/usr"
    std::string configPrefix;   // "/etc"
    std::string tempDir;        // where the text file for the editor goes; ends with "/"
    // Where the journals of rename runs are kept (no final "/"); empty: nowhere, and no run
    // may start.
    std::string journalDir;
};

}  // namespace morvane

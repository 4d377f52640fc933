#include "platform/LargePages.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace morvane {

namespace {

constexpr char kTunables[] = "GLIBC_TUNABLES";
constexpr char kHugeHeap[] = "glibc.malloc.hugetlb=1";
// Set for the re-executed process: "-" when the program was started without tunables,
// otherwise "=" and the tunables it was started with.
constexpr char kStartedWith[] = "MORVANE_STARTED_WITH_TUNABLES";

void RestoreTunables(const std::string& startedWith) {
    if (!startedWith.empty() && startedWith.front() == '=')
        setenv(kTunables, startedWith.c_str() + 1, 1);
    else
        unsetenv(kTunables);
    unsetenv(kStartedWith);
}

}  // namespace

bool HugePagesOnRequest() {
    std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string text;
    std::getline(mode, text);
    return text.find("[madvise]") != std::string::npos;
}

void StartWithLargePages(char** argv) {
    if (const char* startedWith = std::getenv(kStartedWith)) {
        RestoreTunables(startedWith);
        return;
    }
    const char* tunables = std::getenv(kTunables);
    const std::string original = tunables != nullptr ? tunables : "";
    if (argv == nullptr || argv[0] == nullptr ||
        original.find("glibc.malloc.hugetlb") != std::string::npos || !HugePagesOnRequest())
        return;
    const std::string startedWith = tunables != nullptr ? "=" + original : "-";
    setenv(kStartedWith, startedWith.c_str(), 1);
    const std::string withHugeHeap = (original.empty() ? "" : original + ":") + kHugeHeap;
    setenv(kTunables, withHugeHeap.c_str(), 1);
    execv("/proc/self/exe", argv);
    // Still here: the program goes on with the pages it has.
    RestoreTunables(startedWith);
}

}  // namespace morvane

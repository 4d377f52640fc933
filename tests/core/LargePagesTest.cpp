// Starting again with huge pages for the heap, run in a child: this test program itself, which
// does the child's part before any test when told so by its environment.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/LargePages.h"

namespace morvane::test {
namespace {

constexpr char kChild[] = "MORVANE_LARGE_PAGES_CHILD";

// The child's half, run before any test when the variable is set: starts again as the program
// does, fills some heap, says what it has and leaves.
void RunChild() {
    std::ifstream cmdline("/proc/self/cmdline");
    std::string all((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    std::vector<char*> argv;
    for (std::size_t at = 0; at < all.size(); at += std::strlen(&all[at]) + 1)
        argv.push_back(&all[at]);
    argv.push_back(nullptr);
    StartWithLargePages(argv.data());
    for (int i = 0; i < 400000; ++i)
        std::memset(std::malloc(100), 1, 100);  // held to the end: the heap must stay large
    std::ifstream maps("/proc/self/smaps");
    bool heap = false;
    for (std::string line; std::getline(maps, line);) {
        if (line.find("[heap]") != std::string::npos)
            heap = true;
        else if (heap && line.rfind("VmFlags:", 0) == 0) {
            std::printf("huge:%d\n", line.find(" hg") != std::string::npos ? 1 : 0);
            break;
        }
    }
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    std::printf("tunables:%s\n", tunables != nullptr ? tunables : "(none)");
    std::printf("marker:%d\n", std::getenv("MORVANE_STARTED_WITH_TUNABLES") != nullptr ? 1 : 0);
    std::fflush(stdout);
    std::_Exit(0);
}

[[maybe_unused]] const bool kChildRun = std::getenv(kChild) != nullptr ? (RunChild(), true) : false;

TEST(LargePagesTest, HeapTakesHugePagesAndChildrenSeeTheStartingEnvironment) {
    if (!HugePagesOnRequest())
        GTEST_SKIP() << "the kernel does not give huge pages on request here";
    const auto run = [](const std::string& environment) {
        const std::string command =
            environment + " " + kChild + "=1 /proc/" + std::to_string(getpid()) + "/exe 2>&1";
        std::string output;
        if (FILE* child = popen(command.c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, child) != nullptr)
                output += buffer;
            pclose(child);
        }
        return output;
    };
    const std::string plain = run("env -u GLIBC_TUNABLES");
    EXPECT_NE(plain.find("huge:1\n"), std::string::npos) << plain;
    EXPECT_NE(plain.find("tunables:(none)\n"), std::string::npos) << plain;
    EXPECT_NE(plain.find("marker:0\n"), std::string::npos) << plain;
    const std::string own = run("GLIBC_TUNABLES=glibc.malloc.check=0");
    EXPECT_NE(own.find("huge:1\n"), std::string::npos) << own;
    EXPECT_NE(own.find("tunables:glibc.malloc.check=0\n"), std::string::npos) << own;
    // Told otherwise by the user: no second start, and the heap as asked.
    const std::string refused = run("GLIBC_TUNABLES=glibc.malloc.hugetlb=0");
    EXPECT_NE(refused.find("huge:0\n"), std::string::npos) << refused;
}

}  // namespace
}  // namespace morvane::test

// morvane-bench [--files N] [--folders M] [--repeat R] [--dir PATH] [--scenario NAME]... [--list]
// Runs the scenarios (all, or those whose name contains one of the given NAMEs) and prints a
// line for each. Exit status 0 when every target was met, 2 when one was missed, 1 on bad use.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Bench.h"
#include "platform/LargePages.h"

namespace {

void Usage() {
    std::fprintf(stderr,
                 "usage: morvane-bench [--files N] [--folders M] [--repeat R] [--dir PATH]\n"
                 "                     [--scenario NAME]... [--list]\n"
                 "  --files N      files in the generated tree (default 100000)\n"
                 "  --folders M    folders they are spread over (default 100)\n"
                 "  --repeat R     runs per measurement, the fastest counts (default 3)\n"
                 "  --dir PATH     where the tree is made (default $TMPDIR or /tmp)\n"
                 "  --scenario S   run only scenarios whose name contains S (repeatable)\n"
                 "  --list         print the scenario names and stop\n");
}

bool ParseCount(const char* text, std::size_t* value) {
    char* end = nullptr;
    const unsigned long long n = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0')
        return false;
    *value = static_cast<std::size_t>(n);
    return true;
}

bool Wanted(const morvane::bench::Options& options, const char* name) {
    if (options.scenarios.empty())
        return true;
    for (const auto& part : options.scenarios) {
        if (std::strstr(name, part.c_str()) != nullptr)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // The heap as the program has it, so the figures are the program's.
    morvane::StartWithLargePages(argv);
    morvane::bench::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        std::size_t n = 0;
        if (arg == "--list") {
            options.list = true;
        } else if (arg == "--files" && hasValue && ParseCount(argv[i + 1], &n)) {
            options.files = n;
            ++i;
        } else if (arg == "--folders" && hasValue && ParseCount(argv[i + 1], &n) && n > 0) {
            options.folders = n;
            ++i;
        } else if (arg == "--repeat" && hasValue && ParseCount(argv[i + 1], &n) && n > 0) {
            options.repeat = static_cast<int>(n);
            ++i;
        } else if (arg == "--dir" && hasValue) {
            options.baseDir = argv[++i];
        } else if (arg == "--scenario" && hasValue) {
            options.scenarios.push_back(argv[++i]);
        } else {
            Usage();
            return 1;
        }
    }

    const auto scenarios = morvane::bench::AllScenarios();
    if (options.list) {
        for (const auto& s : scenarios)
            std::printf("%s\n", s.name);
        return 0;
    }
    morvane::bench::BenchContext context(options);
    int ran = 0;
    for (const auto& s : scenarios) {
        if (!Wanted(options, s.name))
            continue;
        std::fprintf(stderr, "== %s\n", s.name);
        s.run(context);
        ++ran;
    }
    if (ran == 0) {
        std::fprintf(stderr, "no scenario matches\n");
        return 1;
    }
    return context.AllTargetsMet() ? 0 : 2;
}

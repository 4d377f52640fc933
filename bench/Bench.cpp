#include "Bench.h"

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Directories.h"

namespace morvane::bench {
namespace {

std::vector<Scenario>& Registry() {
    static std::vector<Scenario> scenarios;
    return scenarios;
}

std::int64_t HeapInUse() {
    const struct mallinfo2 mi = mallinfo2();
    return static_cast<std::int64_t>(mi.uordblks + mi.hblkhd);
}

// A "VmRSS:" or "VmHWM:" line of /proc/self/status in bytes; -1 when unreadable.
std::int64_t StatusBytes(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::atoll(line.c_str() + prefix.size()) * 1024;
    }
    return -1;
}

// Lets VmHWM start again from the current resident size; false where the kernel refuses.
bool ResetPeakResident() {
    const int fd = open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = write(fd, "5", 1) == 1;
    close(fd);
    return ok;
}

std::string PerRow(std::int64_t bytes, std::size_t rows) {
    if (bytes < 0)
        return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.0f B/row",
                  static_cast<double>(bytes) / static_cast<double>(rows));
    return text;
}

}  // namespace

bool RegisterScenario(Scenario scenario) {
    Registry().push_back(std::move(scenario));
    return true;
}

std::vector<Scenario> AllScenarios() {
    std::vector<Scenario> all = Registry();
    std::sort(all.begin(), all.end(), [](const Scenario& a, const Scenario& b) {
        return std::string(a.name) < std::string(b.name);
    });
    return all;
}

BenchContext::~BenchContext() {
    RemoveTree();
}

const BenchTree& BenchContext::Tree() {
    if (tree_.root.empty())
        MakeTree();
    return tree_;
}

const BenchTree& BenchContext::RebuildTree() {
    RemoveTree();
    MakeTree();
    return tree_;
}

void BenchContext::MakeTree() {
    std::string base = options_.baseDir.empty() ? TempDirectory() : options_.baseDir;
    if (base.back() != '/')
        base += '/';
    std::string pattern = base + "morvane-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror(pattern.c_str());
        std::exit(1);
    }
    tree_.root = pattern;
    const std::size_t folders = std::max<std::size_t>(options_.folders, 1);
    std::fprintf(stderr, "making %zu files in %zu folders under %s ...\n", options_.files, folders,
                 tree_.root.c_str());
    char name[64];
    for (std::size_t f = 0; f < folders; ++f) {
        std::snprintf(name, sizeof name, "/folder_%03zu", f);
        tree_.folders.push_back(tree_.root + name);
        std::filesystem::create_directory(tree_.folders.back());
    }
    tree_.files.reserve(options_.files);
    for (std::size_t i = 0; i < options_.files; ++i) {
        std::snprintf(name, sizeof name, "/file_%07zu.txt", i);
        const std::string path = tree_.folders[i % folders] + name;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 || write(fd, "x", 1) != 1) {
            std::perror(path.c_str());
            std::exit(1);
        }
        close(fd);
        tree_.files.push_back(path);
    }
}

void BenchContext::RemoveTree() {
    if (tree_.root.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(tree_.root, ec);
    tree_ = BenchTree{};
}

Measurement BenchContext::Measure(const std::function<void()>& work,
                                  const std::function<void()>& before,
                                  const std::function<void()>& after) {
    Measurement m;
    const int runs = std::max(options_.repeat, 1);
    for (int run = 0; run < runs; ++run) {
        if (before)
            before();
        std::int64_t heapBefore = 0;
        std::int64_t residentBefore = -1;
        if (run == 0) {
            malloc_trim(0);  // so freed memory of earlier work does not hide this run's growth
            if (ResetPeakResident())
                residentBefore = StatusBytes("VmRSS");
            heapBefore = HeapInUse();
        }
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (run == 0) {
            m.heapHeld = HeapInUse() - heapBefore;
            const std::int64_t peak = StatusBytes("VmHWM");
            if (residentBefore >= 0 && peak >= 0)
                m.peakGrowth = peak - residentBefore;
            m.seconds = elapsed.count();
        } else {
            m.seconds = std::min(m.seconds, elapsed.count());
        }
        if (after)
            after();
    }
    return m;
}

void BenchContext::Report(const std::string& what, const Measurement& ours, const Measurement& bare,
                          std::size_t rows, const Targets& targets) {
    const double ratio = bare.seconds > 0 ? ours.seconds / bare.seconds : 0;
    std::string line;
    char text[160];
    std::snprintf(text, sizeof text, "%-44s time %8.3f s   bare %8.3f s   ratio %5.2fx",
                  what.c_str(), ours.seconds, bare.seconds, ratio);
    line += text;
    if (rows > 0) {
        line +=
            "   held " + PerRow(ours.heapHeld, rows) + "   peak " + PerRow(ours.peakGrowth, rows);
        std::snprintf(text, sizeof text, "   (%zu rows)", rows);
        line += text;
    }
    std::string verdicts;
    if (targets.maxRatio > 0) {
        const bool ok = ratio <= targets.maxRatio;
        std::snprintf(text, sizeof text, " ratio<=%.1fx %s", targets.maxRatio,
                      ok ? "ok" : "MISSED");
        verdicts += text;
        targetsMet_ = targetsMet_ && ok;
    }
    if (targets.maxBytesPerRow > 0 && rows > 0) {
        const double held = static_cast<double>(ours.heapHeld) / static_cast<double>(rows);
        const double peak = static_cast<double>(ours.peakGrowth) / static_cast<double>(rows);
        const bool ok = held <= targets.maxBytesPerRow &&
                        (ours.peakGrowth < 0 || peak <= targets.maxBytesPerRow);
        std::snprintf(text, sizeof text, " mem<=%.0fB/row %s", targets.maxBytesPerRow,
                      ok ? "ok" : "MISSED");
        verdicts += text;
        targetsMet_ = targetsMet_ && ok;
    }
    if (!verdicts.empty())
        line += "   targets:" + verdicts;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace morvane::bench

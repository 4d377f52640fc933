#pragma once
// morvane-bench: headless timings of the core against the bare system calls doing the same work.
//
// Adding a scenario: put a new file bench/SomethingBench.cpp (CMake picks it up) holding
//
//     #include "Bench.h"
//     MORVANE_BENCH_SCENARIO(RegisterFiles, "register files") {
//         const morvane::bench::BenchTree& tree = ctx.Tree();   // created on first use
//         morvane::bench::Measurement ours = ctx.Measure(
//             [&] { /* the work through Morvane */ },
//             [&] { /* untimed set-up before each run */ },
//             [&] { /* untimed clean-up after each run */ });
//         morvane::bench::Measurement bare = ctx.Measure([&] { /* the same with syscalls */ });
//         ctx.Report("register files", ours, bare, tree.files.size(), {.maxRatio = 3.0});
//     }
//
// `ctx` is the scenario's BenchContext. Measure runs the work --repeat times and keeps the
// fastest time; memory is taken from the first run: the heap still held when the work returns
// (mallinfo2) and the growth of the peak resident size during it (VmHWM, reset before the run).
// Report prints one line: both times, their ratio, bytes per row, and whether the targets hold.
// A scenario that changes the tree (renames, deletes) calls ctx.RebuildTree() when done, so
// the next scenario finds the tree as generated. BenchHost.h has a Host without windows for
// scenarios that drive CMorvaneApp. Timings are never asserted in tests.
//
// Running: build/morvane-bench [--files N] [--folders M] [--repeat R] [--dir PATH]
// [--scenario PART]... [--list]; the exit status is 2 when a target was missed.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace morvane::bench {

struct Options {
    std::size_t files = 100000;
    std::size_t folders = 100;
    int repeat = 3;
    std::string baseDir;  // where the tree's folder is made; empty: the temporary directory
    std::vector<std::string> scenarios;  // names or parts of names; empty: all
    bool list = false;
};

// The generated tree: root/folder_000/file_0000000.txt ..., files spread evenly over the
// folders. Paths are full; folder paths have no trailing "/".
struct BenchTree {
    std::string root;
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

struct Measurement {
    double seconds = 0;            // fastest of the runs
    std::int64_t heapHeld = 0;     // heap bytes still allocated when the first run returned
    std::int64_t peakGrowth = -1;  // growth of the peak resident size in the first run; -1: unknown
};

// Ratios and bytes per row a scenario promises; 0 means no target.
struct Targets {
    double maxRatio = 0;
    double maxBytesPerRow = 0;
};

class BenchContext {
public:
    explicit BenchContext(const Options& options) : options_(options) {}
    ~BenchContext();
    BenchContext(const BenchContext&) = delete;
    BenchContext& operator=(const BenchContext&) = delete;

    const Options& options() const { return options_; }
    // The tree of options().files files in options().folders folders, made on first use.
    const BenchTree& Tree();
    // Deletes the tree and makes it again.
    const BenchTree& RebuildTree();

    Measurement Measure(const std::function<void()>& work, const std::function<void()>& before = {},
                        const std::function<void()>& after = {});
    // One line for the scenario; rows 0 leaves out the memory figures.
    void Report(const std::string& what, const Measurement& ours, const Measurement& bare,
                std::size_t rows, const Targets& targets = {});
    // False once any reported target was missed.
    bool AllTargetsMet() const { return targetsMet_; }
    // For scenarios that print their own line: records whether their target held.
    void NoteTarget(bool met) { targetsMet_ = targetsMet_ && met; }

private:
    void MakeTree();
    void RemoveTree();

    Options options_;
    BenchTree tree_;
    bool targetsMet_ = true;
};

struct Scenario {
    const char* name;
    std::function<void(BenchContext&)> run;
};

// Adds a scenario to the program; used through MORVANE_BENCH_SCENARIO.
bool RegisterScenario(Scenario scenario);
// Every scenario, in the order of their names.
std::vector<Scenario> AllScenarios();

// Keeps the compiler from dropping work whose result is not otherwise used.
template <class T>
inline void KeepAlive(const T& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}

}  // namespace morvane::bench

#define MORVANE_BENCH_SCENARIO(id, name)                 \
    static void id(::morvane::bench::BenchContext& ctx); \
    [[maybe_unused]] static const bool id##Registered =  \
        ::morvane::bench::RegisterScenario({name, id});  \
    static void id([[maybe_unused]] ::morvane::bench::BenchContext& ctx)

// A rename run killed at many points of its way, then the next start rolling it back or
// finishing it: every file ends at one whole state with its own content.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/CMorvaneApp.h"
#include "host/Messages.h"
#include "ops/rename/Journal.h"
#include "support/FakeHost.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

extern char** environ;

namespace morvane::test {
namespace {

namespace stdfs = std::filesystem;

// One row of the run: a file or folder by its relative path before the run, and its new name.
struct Row {
    std::string from;
    std::string name;
};

std::string Parent(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}
std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}
std::string FileName(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "a%05d.txt", i);
    return text;
}

// Runs the child and waits for it; the raw wait status.
int RunChild(const std::string& journals, const std::string& list, long killAt, bool inventInodes) {
    const std::string point = std::to_string(killAt);
    const char* argv[] = {MORVANE_RENAME_CHILD, journals.c_str(), list.c_str(), point.c_str(),
                          nullptr};
    std::vector<char*> env;
    for (char** var = environ; *var != nullptr; ++var)
        env.push_back(*var);
    char invent[] = "MORVANE_INVENT_INODES=1";
    if (inventInodes)
        env.push_back(invent);
    env.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv), env.data()) != 0)
        return -1;
    int status = 0;
    return waitpid(pid, &status, 0) == pid ? status : -1;
}

bool KilledBySigkill(int status) {
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

class CrashRecoveryTest : public ::testing::Test {
protected:
    CrashRecoveryTest() {
        env.programDir = dir.MakeFolder("prog");
        env.configHome = dir / "xdg";
        env.tempDir = dir.MakeFolder("tmp");
        env.stateHome = dir.MakeFolder("state");
        tree = dir.MakeFolder("tree");
    }

    // Files of some folders, each renamed in blocks of ten: a swap, a ring of three, a chain
    // of three that ends at a free name, two plain renames. Two folders are renamed, one
    // inside the other, with files in each. Every file's content is as long as every other's
    // in its folder. `fraction`: of the full number of files.
    void BuildTree(int fraction = 1) {
        const std::pair<std::string, int> layout[] = {{"f0", 1250}, {"f1", 1250},  {"f2", 1250},
                                                      {"f3", 1250}, {"f4", 1250},  {"f5", 1250},
                                                      {"r0", 1000}, {"r0/n", 500}, {"r1", 1000}};
        for (const auto& [folder, full] : layout) {
            dir.MakeFolder("tree/" + folder);
            folders.push_back(folder);
            const int count = full / fraction;
            for (int i = 0; i < count; ++i) {
                const int k = i % 10, base = i - k;
                static constexpr int kTo[] = {1, 0, 3, 4, 2, 6, 7, -1, -1, -1};
                std::string name = kTo[k] >= 0 ? FileName(base + kTo[k]) : FileName(i);
                if (k == 7)
                    name = "z" + name;
                else if (k >= 8)
                    name = "s" + name;
                const std::string from = Join(folder, FileName(i));
                rows.push_back({from, name});
                std::ofstream(tree + "/" + from) << from;
            }
        }
        rows.push_back({"r0/n", "N"});
        rows.push_back({"r0", "R0"});
        rows.push_back({"r1", "R1"});
        for (const Row& row : rows)
            newPath[row.from] = Join(Parent(row.from), row.name);
    }

    // A relative path before the run, as it reads after it.
    std::string Renamed(const std::string& from) const {
        if (from.empty())
            return from;
        const auto it = newPath.find(from);
        return Join(Renamed(Parent(from)), NameOf(it == newPath.end() ? from : it->second));
    }
    // Where a row is in the current state.
    std::string Current(const Row& row) const { return flipped ? Renamed(row.from) : row.from; }

    // The list the child runs: from the current state to the other one.
    std::string WriteList() const {
        const std::string path = dir / "list.txt";
        std::ofstream out(path);
        for (const Row& row : rows)
            out << tree << '/' << Current(row) << '\t' << (flipped ? NameOf(row.from) : row.name)
                << '\n';
        return path;
    }

    // Where each move of the run from the current state begins: per depth, deepest first,
    // the batch's room-making and then its placing; the last entry is the number of moves.
    std::vector<long> Phases() const {
        std::unordered_set<std::string> wanted;
        std::map<long, std::pair<long, long>, std::greater<>> byDepth;  // vacates, rows
        for (const Row& row : rows)
            wanted.insert(Join(Parent(Current(row)), flipped ? NameOf(row.from) : row.name));
        for (const Row& row : rows) {
            const std::string to =
                Join(Parent(Current(row)), flipped ? NameOf(row.from) : row.name);
            auto& [vacates, places] = byDepth[std::count(to.begin(), to.end(), '/')];
            vacates += wanted.count(Current(row));
            ++places;
        }
        std::vector<long> phases{0};
        for (const auto& [depth, counts] : byDepth) {
            phases.push_back(phases.back() + counts.first);
            phases.push_back(phases.back() + counts.second);
        }
        return phases;
    }

    // Every file at its path of the current state with its own content, the folders, and
    // nothing else. The number of files seen; failures name the first few wrong paths.
    int CheckTree() {
        std::map<std::string, std::string> expected;  // path -> content; folders: "/"
        for (const Row& row : rows)
            expected[Current(row)] = row.from;
        for (const std::string& folder : folders)
            expected[flipped ? Renamed(folder) : folder] = "/";
        int files = 0, wrong = 0;
        for (const auto& item : stdfs::recursive_directory_iterator(tree)) {
            const std::string relative = item.path().string().substr(tree.size() + 1);
            const auto it = expected.find(relative);
            const bool folder = item.is_directory();
            const bool ok =
                it != expected.end() && relative.find("[MORVANE]") == std::string::npos &&
                (folder ? it->second == "/" : ReadFileText(item.path().string()) == it->second);
            if (!ok && ++wrong <= 5)
                ADD_FAILURE() << "unexpected: " << relative;
            if (it != expected.end())
                expected.erase(it);
            files += folder ? 0 : 1;
        }
        for (auto it = expected.begin(); it != expected.end() && wrong < 5; ++it, ++wrong)
            ADD_FAILURE() << "missing: " << it->first;
        return files;
    }

    std::vector<std::string> Journals(JournalState state) const {
        std::vector<std::string> names;
        for (const JournalFile& file : ListJournals(RealFileSystem(), journals))
            if (file.state == state)
                names.push_back(file.name);
        return names;
    }

    // Kills a run from the current state at each point, answers the next start's question
    // (roll back, finish, in turn) and checks the tree. The number of files checked.
    int KillAndRecover(const std::vector<long>& points, long total) {
        int checked = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const long at = points[i];
            const int answer = static_cast<int>(i % 2);  // roll back, finish
            SCOPED_TRACE("kill before move " + std::to_string(at) + " of " + std::to_string(total) +
                         (answer == 0 ? ", rolled back" : ", finished"));
            const int status = RunChild(journals, WriteList(), at, inventInodes);
            const bool ended = at >= total;
            if (ended)
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
            else
                EXPECT_TRUE(KilledBySigkill(status)) << status;
            if (HasFailure())
                break;

            FakeHost host;
            host.choiceAnswers = {answer};
            FaultFileSystem fs;
            if (inventInodes)
                fs.InventInodes();
            CMorvaneApp app(host, fs);
            EXPECT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
            // Only a run whose plan was whole and that did not end is asked about.
            EXPECT_EQ(host.questions.size(), at >= 0 && !ended ? 1u : 0u) << app.Log().Text();
            if (ended || (at >= 0 && answer == 1))
                flipped = !flipped;
            checked += CheckTree();
            EXPECT_TRUE(Journals(JournalState::Running).empty()) << app.Log().Text();
            app.ShutDown();
            if (HasFailure())
                break;
        }
        return checked;
    }

    TempDir dir;
    StartupEnvironment env;
    std::string tree;
    const std::string journals = dir / "state/morvane";
    std::vector<Row> rows;
    std::vector<std::string> folders;
    std::map<std::string, std::string> newPath;  // relative path -> its new relative path
    bool flipped = false;                        // the tree is at the run's new names
    bool inventInodes = false;                   // the file system makes up inode numbers
};

TEST_F(CrashRecoveryTest, ARunKilledAnywhereIsRolledBackOrFinishedWhole) {
    BuildTree();
    const std::vector<long> p = Phases();
    ASSERT_EQ(p.size(), 7u);  // three depths
    flipped = true;
    ASSERT_EQ(Phases(), p);  // the way back has the same shape
    flipped = false;
    const long total = p.back();
    // Before the plan is whole, the first moves, then each phase: its start, inside it, and
    // around its end; the folders at the end; a run that ends; a few anywhere.
    std::vector<long> points = {-1, 0, 1, 2, p[1] / 2, p[1] - 1, p[1], p[1] + 1, p[2] - 1};
    for (long at : {p[2], p[2] + 1, p[2] + (p[3] - p[2]) / 3, p[3] - 1, p[3], p[3] + 1,
                    p[3] + (p[4] - p[3]) / 4, p[3] + (p[4] - p[3]) / 2,
                    p[3] + 3 * (p[4] - p[3]) / 4, p[4] - 1, p[5] + 1, total, total - 1})
        points.push_back(at);
    std::mt19937 random(20261208);
    for (int i = 0; i < 8; ++i)
        points.push_back(std::uniform_int_distribution<long>(0, total - 1)(random));

    const int checked = KillAndRecover(points, total);
    std::cout << "kill points tried: " << points.size() << ", files checked: " << checked << "\n";
    RecordProperty("kill_points", static_cast<int>(points.size()));
    RecordProperty("files_checked", checked);
}

// sshfs: every move gives a file another inode number, times are whole seconds, and the files
// of each swap and ring agree in size and time. Killed inside and between the batches.
TEST_F(CrashRecoveryTest, WhereInodeNumbersAreMadeUpFilesAreFoundByTheirNames) {
    inventInodes = true;
    BuildTree(25);
    const std::vector<long> p = Phases();
    ASSERT_EQ(p.size(), 7u);
    const long total = p.back();
    std::vector<long> points;
    for (std::size_t phase = 0; phase + 1 < p.size(); ++phase) {
        points.push_back(p[phase]);
        points.push_back((p[phase] + p[phase + 1]) / 2);
    }
    points.push_back(total - 1);
    points.push_back(total);
    KillAndRecover(points, total);
}

// A run killed while its deepest batch made room, and its journal then damaged: cut at half,
// or the plan line of a file under a temporary name garbled. The next start says so and puts
// every file back, those the journal no longer names by the old name their temporary name
// holds.
TEST_F(CrashRecoveryTest, ADamagedJournalIsReportedAndEveryFileGoesBack) {
    BuildTree(25);
    const std::vector<long> p = Phases();
    ASSERT_EQ(p.size(), 7u);
    const std::string damaged(msg::kJournalDamaged);
    for (const bool cut : {true, false}) {
        SCOPED_TRACE(cut ? "cut at half" : "a plan line damaged");
        ASSERT_TRUE(KilledBySigkill(RunChild(journals, WriteList(), cut ? p[1] / 2 : p[1], false)));
        const std::vector<std::string> running = Journals(JournalState::Running);
        ASSERT_EQ(running.size(), 1u);
        const std::string path = journals + "/" + running[0];
        std::string text = ReadFileText(path);
        if (cut) {
            text.resize(text.size() / 2);
        } else {
            const std::size_t line = text.rfind('\n', text.find("[MORVANE]_")) + 1;
            ASSERT_EQ(text.compare(line, 2, "p "), 0);
            text.replace(line + 2, 6, "\xff\xff\xff\xff\xff\xff");
        }
        std::ofstream(path, std::ios::trunc | std::ios::binary) << text;

        FakeHost host;
        host.choiceAnswers = {0};
        FaultFileSystem fs;
        CMorvaneApp app(host, fs);
        EXPECT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
        EXPECT_EQ(host.questions.size(), 1u);
        EXPECT_NE(app.Log().Text().find(damaged.substr(0, damaged.find('%'))), std::string::npos)
            << app.Log().Text();
        CheckTree();
        EXPECT_TRUE(Journals(JournalState::Running).empty()) << app.Log().Text();
        app.ShutDown();
        if (HasFailure())
            break;
    }
}

}  // namespace
}  // namespace morvane::test

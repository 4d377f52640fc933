// What the journal costs a rename run, and what mending and reversing a run cost, each against
// the rename of the same 100,000 files: the journal's own writes (the plan made durable, the
// progress of each phase, the end), the roll-back and the finish of a run cut off just before
// its end, and the undo command after a whole run.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "Bench.h"
#include "BenchHost.h"
#include "RenamePlan.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "host/ActivityLog.h"
#include "model/ListModel.h"
#include "ops/Locations.h"
#include "ops/recovery/RunHistory.h"
#include "ops/recovery/StartupRecovery.h"
#include "ops/rename/Journal.h"
#include "ops/rename/PlanIdentity.h"
#include "platform/FileSystem.h"

namespace mb = morvane::bench;

namespace {

// The run's journal back to the state of a run killed before its end: no end line, and
// the name of a running one.
void ReopenLastJournal(const std::string& folder) {
    morvane::FileSystem& fs = morvane::RealFileSystem();
    std::vector<morvane::JournalFile> journals = morvane::ListJournals(fs, folder);
    if (journals.empty() || journals.back().state != morvane::JournalState::Done)
        mb::Fail("no journal to reopen");
    const std::string path = folder + "/" + journals.back().name;
    std::string text;
    if (!fs.ReadFile(path, morvane::kNoSizeLimit, &text).Ok() ||
        text.substr(text.size() - morvane::kCompleteLine.size()) != morvane::kCompleteLine)
        mb::Fail("journal not complete");
    text.resize(text.size() - morvane::kCompleteLine.size());
    if (!fs.WriteFileAtomic(path, text).Ok() ||
        !morvane::MarkJournal(fs, folder, &journals.back(), morvane::JournalState::Running).Ok())
        mb::Fail("journal not reopened");
}

void RemoveJournals(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

MORVANE_BENCH_SCENARIO(RecoverAndUndo, "rename journal, recovery and undo") {
    const mb::BenchTree& tree = ctx.Tree();
    const mb::Plan plan = mb::MakePlan(tree);
    mb::WriteContents(tree);
    const std::string journals = tree.root + "/.journals";
    const std::size_t n = tree.files.size();
    morvane::FileSystem& fs = morvane::RealFileSystem();
    mb::BenchHost host;
    std::unique_ptr<morvane::CMorvaneApp> app;
    const auto renamed = [&] {
        app = mb::ReadyToRename(host, tree, plan, journals);
        morvane::AppInternals::Renamer(*app).RenameAll();
        mb::CheckRenamed(tree, plan);
    };

    const mb::Measurement rename =
        ctx.Measure([&] { morvane::AppInternals::Renamer(*app).RenameAll(); },
                    [&] { app = mb::ReadyToRename(host, tree, plan, journals); },
                    [&] {
                        mb::CheckRenamed(tree, plan);
                        mb::Restore(tree, plan);
                        app.reset();
                        RemoveJournals(journals);
                    });

    // The same plan the run writes, what it records of every file taken beforehand.
    std::vector<morvane::JournalEntry> entries(n);
    std::vector<morvane::JournalVolume> volumes;
    for (std::size_t i = n; i-- > 0;) {
        const std::optional<morvane::FileInfo> info = fs.Find(tree.files[i]);
        if (!info)
            mb::Fail("no such file: " + tree.files[i]);
        if (volumes.empty()) {
            const morvane::MountTraits traits = fs.TraitsOf(tree.root);
            volumes.push_back({info->device, traits.identity, traits.stableInodes});
        }
        entries[n - 1 - i] = {
            tree.files[i],         plan.temps[i], plan.targets[i], info->device, info->inode, {}, 0,
            morvane::MarkOf(*info)};
    }
    const mb::Measurement journal = ctx.Measure(
        [&] {
            morvane::Journal written(fs);
            if (!written.Begin(journals, morvane::RunKind::Rename, {}, volumes, entries).Ok())
                mb::Fail("journal not written");
            (void)written.Progress(3, 1);
            (void)written.Progress(3, 2);
            (void)written.Complete();
        },
        {}, [&] { RemoveJournals(journals); });
    ctx.Report("journal of the run (against the rename)", journal, rename, n, {.maxRatio = 0.10});

    // A plain rename, out of every chain: it can go back by hand without replacing a file.
    std::size_t fresh = 0;
    {
        const std::unordered_set<std::string> paths(tree.files.begin(), tree.files.end());
        const std::unordered_set<std::string> targets(plan.targets.begin(), plan.targets.end());
        while (fresh < n &&
               (paths.count(plan.targets[fresh]) != 0 || targets.count(tree.files[fresh]) != 0))
            ++fresh;
        if (fresh == n)
            mb::Fail("no plain rename in the plan");
    }
    morvane::ActivityLog log;
    morvane::Locations places;
    places.journalDir = journals;
    const auto recover = [&] {
        morvane::StartupRecovery(fs, log, host, host, places).RecoverUnfinishedRuns();
    };
    const mb::Measurement rollBack = ctx.Measure(
        recover,
        [&] {
            renamed();
            app.reset();
            ReopenLastJournal(journals);
            // Killed before its last move: with every file at its new name the run is known
            // as complete and nothing is rolled back.
            std::filesystem::rename(plan.targets[fresh], tree.files[fresh]);
            host.choice = 0;
        },
        [&] {
            mb::CheckOriginal(tree);
            RemoveJournals(journals);
        });
    ctx.Report("roll back a run cut off at its end (against the rename)", rollBack, rename, n,
               {.maxRatio = 1.5});

    const mb::Measurement finish = ctx.Measure(
        recover,
        [&] {
            renamed();
            app.reset();
            mb::Restore(tree, plan);
            ReopenLastJournal(journals);
            host.choice = 1;
        },
        [&] {
            mb::CheckRenamed(tree, plan);
            mb::Restore(tree, plan);
            RemoveJournals(journals);
        });
    ctx.Report("finish a run cut off at its start (against the rename)", finish, rename, n,
               {.maxRatio = 1.5});

    const mb::Measurement undo =
        ctx.Measure([&] { app->Execute(morvane::Command::UndoRename); }, renamed,
                    [&] {
                        mb::CheckOriginal(tree);
                        app.reset();
                        RemoveJournals(journals);
                    });
    ctx.Report("undo the run (against the rename)", undo, rename, n, {.maxRatio = 1.5});
    // The history as its dialog opens it: 20 journals of n files each, told from their heads.
    {
        app = mb::ReadyToRename(host, tree, plan, journals);
        for (int i = 0; i < 20; ++i) {
            morvane::Journal written(fs);
            if (!written.Begin(journals, morvane::RunKind::Rename, {}, volumes, entries).Ok())
                mb::Fail("journal not written");
            // Marked done by hand: the end of a run would prune them to the bytes kept.
            written.LetGo();
        }
        std::uint64_t bytes = 0;
        for (morvane::JournalFile file : morvane::ListJournals(fs, journals)) {
            (void)morvane::MarkJournal(fs, journals, &file, morvane::JournalState::Done);
            bytes += fs.Find(journals + "/" + file.name)->size;
        }
        std::printf("  20 journals of %zu files: %.1f MB\n", n, static_cast<double>(bytes) / 1e6);
        morvane::RunHistory& history = app->History();
        std::size_t listed = 0;
        const mb::Measurement heads = ctx.Measure([&] { listed = history.Runs().size(); });
        if (listed != 20)
            mb::Fail("history lists " + std::to_string(listed) + " runs");
        // What a history reading whole plans would cost.
        const mb::Measurement whole = ctx.Measure([&] {
            for (const morvane::JournalFile& file : morvane::ListJournals(fs, journals)) {
                std::string text;
                morvane::JournalText read;
                if (!fs.ReadFile(journals + "/" + file.name, morvane::kNoSizeLimit, &text).Ok() ||
                    !morvane::ParseJournal(text, &read))
                    mb::Fail("journal not read");
            }
        });
        ctx.Report("history of 20 runs of " + std::to_string(n) +
                       " files, from the heads (against whole journals read)",
                   heads, whole, 0);
        std::printf("  history opens in %.3f s (target 0.5 s)\n", heads.seconds);
        ctx.NoteTarget(heads.seconds <= 0.5);
        app.reset();
        RemoveJournals(journals);
    }

    ctx.RebuildTree();
}

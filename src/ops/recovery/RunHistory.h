#pragma once
// The history of rename runs, as a dialog shows it: the journals of the last runs, newest
// first, each told from the head of its file alone; the files of one run on demand, each
// looked at on disk only when it is asked for; and the undo or the putting back of a run.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "ops/rename/Journal.h"

namespace morvane {

class ActivityLog;
class PlanIdentity;
class StartupRecovery;
class UndoRun;
struct Locations;

enum class RunState { Done, PartlyUndone, Undone, Interrupted };

struct RunListing {
    JournalFile file;
    std::string when;  // local date and time
    std::size_t files = 0;
    std::string folders;  // the first one and "他 N フォルダ"
    RunState state = RunState::Done;
};

class RunHistory;

// The dialog, as the history sees it: the window system implements it.
class HistoryView {
public:
    virtual void ShowHistory(RunHistory& history) = 0;

protected:
    ~HistoryView() = default;
};

class RunHistory {
public:
    RunHistory(FileSystem& fs, ActivityLog& log, const Locations& places, UndoRun& undo,
               StartupRecovery& recovery);
    ~RunHistory();
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

    // The command: opens the dialog.
    void OnHistory();
    void SetView(HistoryView* view) { view_ = view; }

    // The runs, newest first.
    std::vector<RunListing> Runs();
    // How many older runs were dropped for the size of their journals.
    int DroppedRuns();

    // The files of a run, read from its journal; false when it cannot be read.
    bool OpenRun(const std::string& name);
    std::size_t FileCount() const;
    const JournalEntry& FileAt(std::size_t index) const;
    // What the file is now, looked at on disk by its identity when asked.
    std::string NowOf(std::size_t index);

    // Undoes the run, after the user's yes; false when nothing was left to reverse.
    bool Undo(const std::string& name);
    // Puts back what an interrupted run left, after the user's answer.
    void PutBack(const std::string& name);

private:
    FileSystem& fs_;
    ActivityLog& log_;
    const Locations& places_;
    UndoRun& undo_;
    StartupRecovery& recovery_;
    HistoryView* view_ = nullptr;
    // The run opened, and the disk looked at one file at a time.
    JournalText run_;
    std::unique_ptr<PlanIdentity> identity_;
    std::vector<std::string> now_;  // what NowOf found, by file; empty: not looked at yet
};

}  // namespace morvane

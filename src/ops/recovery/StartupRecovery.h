#pragma once
// At start-up: every rename run whose journal says it did not end is reported, and after the
// user's answer rolled back or finished. A journal another running instance holds is left to
// it; one the user puts off stays for the next start.

#include <string>

#include "ops/rename/Journal.h"

namespace morvane {

class ActivityLog;
class Dialogs;
class MainWindow;
struct Locations;

class StartupRecovery {
public:
    StartupRecovery(FileSystem& fs, ActivityLog& log, Dialogs& dialogs, MainWindow& window,
                    const Locations& places)
        : fs_(fs), log_(log), dialogs_(dialogs), window_(window), places_(places) {}

    void RecoverUnfinishedRuns();
    // The same for one journal (its file name), from the history.
    void RecoverJournal(const std::string& name);

private:
    void Recover(JournalFile file);
    // A journal that does not read whole: what it still tells and the temporary names in the
    // folders it names are used to put the files back. Removed only when it is certain that
    // no move had started.
    void RecoverDamaged(JournalFile* file, LockedFile& held, JournalText journal);
    // The run went to its end (or was brought there): its journal says so, and an undo's
    // reversed run is marked undone.
    void Close(JournalFile* file, LockedFile& held, const JournalText& journal, bool finished);

    FileSystem& fs_;
    ActivityLog& log_;
    Dialogs& dialogs_;
    MainWindow& window_;
    const Locations& places_;
};

}  // namespace morvane

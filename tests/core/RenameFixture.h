#pragma once
// The rename command and what it uses, over rows on real files, a scripted host and a file
// system that records (and may fail) every move the rename makes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/RowsFixture.h"
#include "core/TestRows.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/registration/Registration.h"
#include "ops/rename/RenameCommand.h"
#include "ops/rename/RenameEngine.h"
#include "ops/rows/RowRemoval.h"

namespace morvane::test {

// The parts of the rename command, wired as the application wires them.
struct RenameParts : RowsFixture {
    RenameParts() { places.journalDir = state / "morvane"; }

    TempDir state;  // the journal folder lies in it
    Locations places;
    RowRemoval removal{list, validation, log, host, host, itemBreak};
    RenameEngine engine{fs, log, host, host, itemBreak, places};
    RenameCommand renamer{list, validation, engine, removal, rowLock, host};
};

// Registration over the rename parts, set up as start-up sets it: for the tests whose rows
// must be registered as the user registers them, and for the undo, which registers the rows
// it reverses.
struct RegistrationPart {
    explicit RegistrationPart(RenameParts& parts)
        : registration{parts.list,   parts.validation, parts.fs,     parts.log,  parts.settings,
                       parts.places, parts.host,       parts.host,   parts.host, parts.host,
                       busy,         parts.itemBreak,  parts.rowLock} {
        // As start-up sets them: rows under these prefixes are registered locked.
        parts.places.programPrefix = "/usr";
        parts.places.configPrefix = "/etc";
    }

    BusyState busy;
    Registration registration;
};

class RenameFixture : public ::testing::Test, protected RenameParts {
protected:
    // The row of a file or folder of the temp folder, made by the list's row builder and
    // checked as a registered row is; returns its row.
    virtual int Register(const std::string& relative) {
        const std::string path = dir / relative;
        EXPECT_TRUE(PathExists(path)) << relative;
        const int row = AppendFileRow(list, path);
        validation.OnRowRegistered(row);
        return row;
    }
    void SetName(int row, const std::string& name) { validation.SetNewName(row, name); }

    // Answers Yes and runs the command. From here on every move of a file (not of the
    // journal) is recorded as
    // "from -> to" relative to the temp folder (the record starts afresh with each run), and
    // `fault` may fail it.
    void Run() {
        moves.clear();
        fs.failMove = [this](const std::string& from, const std::string& to) {
            if (from.rfind(state.path(), 0) == 0)
                return 0;  // the journal changing its state
            const std::string f = Relative(from), t = Relative(to);
            moves.push_back(f + " -> " + t);
            return fault ? fault(f, t) : 0;
        };
        host.statusProgress.clear();
        host.yesNoAnswers.push_back(true);
        renamer.RenameAll();
    }

    std::string Relative(const std::string& path) const {
        const std::string prefix = dir.path() + "/";
        return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path;
    }
    std::string Content(const std::string& relative) const { return ReadFileText(dir / relative); }
    bool LogHasFatal() const { return Log().find("【致命的") != std::string::npos; }
    // The log a run writes when nothing goes wrong.
    static std::string CleanLog(int renamed) {
        return std::string("\n") + msg::kRenameStart + "\n" + msg::kRenameEnd + Summary(renamed);
    }
    // The line after the end banner, with the line feed before it.
    static std::string Summary(int renamed, int inError = 0, int failed = 0) {
        return "\n" + FormatText(msg::kRenameSummary, renamed, inError, failed);
    }
    // The log of a run that said one thing between its banners.
    static std::string LogSaying(const std::string& line, int renamed, int inError, int failed) {
        return std::string("\n") + msg::kRenameStart + "\n" + line + "\n" + msg::kRenameEnd +
               Summary(renamed, inError, failed);
    }

    // An undo's question without its first line, which names the run.
    static std::string UndoCounts(const std::string& question) {
        return question.substr(question.find('\n') + 1);
    }

    std::vector<std::string> moves;
    std::function<int(const std::string& from, const std::string& to)> fault;
};

}  // namespace morvane::test

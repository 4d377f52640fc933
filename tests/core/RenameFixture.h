#pragma once
// Rows on real files, a scripted host and a file system that records (and may fail) every
// move the rename makes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/Messages.h"
#include "support/AppFixture.h"

namespace morvane::test {

class RenameFixture : public AppFixture, public ::testing::Test {
protected:
    // Registers a file or folder of the temp folder; returns its row.
    int Register(const std::string& relative) {
        EXPECT_TRUE(app.Registrar().RegisterPath(dir / relative)) << relative;
        app.List().RenumberRows();
        return app.List().RowCount() - 1;
    }
    void SetName(int row, const std::string& name) { app.Rules().SetNewName(row, name); }

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
        app.Execute(Command::Rename);
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

    std::vector<std::string> moves;
    std::function<int(const std::string& from, const std::string& to)> fault;
};

}  // namespace morvane::test

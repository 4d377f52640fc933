#include <cerrno>
#include <map>

#include "RenameFixture.h"

namespace morvane::test {
namespace {

using Reason = RenameRecord::Reason;

class RenameRecordTest : public RenameFixture {
protected:
    RenameRecord RunRecorded() {
        fs.failMove = [this](const std::string& from, const std::string& to) {
            return fault ? fault(Relative(from), Relative(to)) : 0;
        };
        host.yesNoAnswers.push_back(true);
        return renamer.RenameAll();
    }
};

TEST_F(RenameRecordTest, TheMovesReplayedGiveTheDiskAndEveryRowLeftHasItsReason) {
    std::map<std::string, std::string> before;  // name -> content
    for (const char* name : {"a", "b", "one", "two", "blank", "gone", "stuck", "same"}) {
        dir.MakeFile(name, name);
        before[name] = name;
    }
    SetName(Register("a"), "b");
    SetName(Register("b"), "a");
    SetName(Register("one"), "two");
    SetName(Register("two"), "three");
    SetName(Register("blank"), "");
    SetName(Register("gone"), "went");
    SetName(Register("stuck"), "unstuck");
    Register("same");  // keeps its name: neither moved nor left
    std::remove((dir / "gone").c_str());
    before.erase("gone");
    fault = [](const std::string& from, const std::string&) {
        return from == "stuck" ? EACCES : 0;
    };
    const RenameRecord record = RunRecorded();

    // Replaying the recorded moves on the names from before gives what is on disk now.
    int temporarySteps = 0;
    for (const RenameRecord::Move& move : record.moves) {
        const auto from = before.find(Relative(move.from));
        ASSERT_NE(from, before.end()) << move.from;
        ASSERT_EQ(before.count(Relative(move.to)), 0u) << move.to;
        before[Relative(move.to)] = from->second;
        before.erase(from);
        temporarySteps += move.temporary ? 1 : 0;
    }
    std::vector<std::string> names;
    for (const auto& [name, content] : before) {
        names.push_back(name);
        EXPECT_EQ(Content(name), content) << name;
    }
    EXPECT_EQ(dir.Names(), names);
    EXPECT_EQ(before.at("a"), "b");
    EXPECT_EQ(before.at("three"), "two");
    // The swap and the row whose name is wanted step through temporary names; the row that
    // takes that name moves in one step.
    EXPECT_EQ(record.moves.size(), 7u);
    EXPECT_EQ(temporarySteps, 6);

    ASSERT_EQ(record.left.size(), 3u);
    std::map<std::string, std::pair<Reason, int>> left;
    for (const RenameRecord::Left& row : record.left)
        left[Relative(row.path)] = {row.reason, row.error};
    EXPECT_EQ(left.at("blank"), std::make_pair(Reason::HasErrors, 0));
    EXPECT_EQ(left.at("gone"), std::make_pair(Reason::FileMissing, 0));
    EXPECT_NE(log.Text().find(FormatText(msg::kRenameFileMissing, (dir / "gone").c_str())),
              std::string::npos);
    EXPECT_EQ(left.at("stuck"), std::make_pair(Reason::MoveFailed, EACCES));
}

TEST_F(RenameRecordTest, AFileStuckUnderItsTemporaryNameIsLeftThere) {
    dir.MakeFile("a", "A");
    dir.MakeFile("b", "B");
    SetName(Register("a"), "b");
    SetName(Register("b"), "a");
    fault = [](const std::string& from, const std::string& to) {
        return from.find("_a") != std::string::npos && to == "b" ? EROFS : 0;
    };
    const RenameRecord record = RunRecorded();
    ASSERT_EQ(record.left.size(), 1u);
    EXPECT_EQ(Relative(record.left[0].path), "00000000[MORVANE]_a");
    EXPECT_EQ(Relative(record.left[0].target), "b");
    EXPECT_EQ(record.left[0].reason, Reason::LeftTemporary);
    EXPECT_EQ(record.left[0].error, EROFS);
    EXPECT_EQ(Content("00000000[MORVANE]_a"), "A");
}

TEST_F(RenameRecordTest, AFilePutBackIsAtItsOldNameAndTheMoveBackIsRecorded) {
    dir.MakeFile("a", "A");
    dir.MakeFile("b", "B");
    SetName(Register("a"), "b");
    SetName(Register("b"), "c");
    fault = [](const std::string& from, const std::string& to) {
        return from.find("_b") != std::string::npos && to == "c" ? ENOSPC : 0;
    };
    const RenameRecord record = RunRecorded();
    ASSERT_EQ(record.left.size(), 2u);
    ASSERT_EQ(record.moves.size(), 2u);
    EXPECT_EQ(Relative(record.moves[1].from), "00000000[MORVANE]_b");
    EXPECT_EQ(Relative(record.moves[1].to), "b");
    EXPECT_TRUE(record.moves[1].temporary);
    EXPECT_EQ(Relative(record.left[0].path), "b");
    EXPECT_EQ(Relative(record.left[0].target), "c");
    EXPECT_EQ(record.left[0].reason, Reason::MoveFailed);
    EXPECT_EQ(record.left[0].error, ENOSPC);
    EXPECT_EQ(Content("b"), "B");
}

}  // namespace
}  // namespace morvane::test

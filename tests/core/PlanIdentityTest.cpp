// The files of a journal known again where their device or inode numbers changed (a disk
// plugged in again, a FUSE driver that makes up inode numbers), and never mistaken for a new
// file that took a number or a name of theirs.

#include <gtest/gtest.h>

#include "formats/JournalFormat.h"

namespace morvane::test {
namespace {

TEST(JournalFormatTest, VersionTwoKeepsWhatTellsFilesApartAndVersionOneIsStillRead) {
    JournalVolume volume{2049, "mount:/media/u/My Stick\texfat", false};
    JournalEntry entry{"/m/a b", "/m/00000000[MORVANE]_a b", "/m/c", 2049, 77, {}, 0, {}};
    entry.mark = {EntryKind::Link, 12, -5, 999999999, 1700000000, 1};
    std::string text = JournalHeader(RunKind::Undo, "x.rename.done") + VolumeLine(volume);
    AppendPlanLine(&text, entry);
    text += PlannedLine(1) + ProgressLine(3, 1) + RecoveredLine(3, true) + RecoveredLine(2, false);
    JournalText read;
    ASSERT_TRUE(ParseJournal(text, &read));
    ASSERT_EQ(read.volumes.size(), 1u);
    EXPECT_EQ(read.volumes[0].identity, volume.identity);
    EXPECT_FALSE(read.volumes[0].stableInodes);
    ASSERT_EQ(read.plan.size(), 1u);
    const JournalEntry& p = read.plan[0];
    EXPECT_EQ(p.to, "/m/c");
    EXPECT_EQ(p.device, 2049u);
    EXPECT_EQ(p.inode, 77u);
    EXPECT_EQ(p.volume, 0u);
    EXPECT_EQ(p.mark.kind, EntryKind::Link);
    EXPECT_EQ(p.mark.size, 12u);
    EXPECT_EQ(p.mark.mtimeSec, -5);
    EXPECT_EQ(p.mark.mtimeNsec, 999999999);
    EXPECT_EQ(p.mark.birthSec, 1700000000);
    EXPECT_EQ(p.mark.birthNsec, 1);
    EXPECT_TRUE(read.planned);
    EXPECT_EQ(read.doneDepth, 3);
    EXPECT_EQ(read.donePhase, 1);
    EXPECT_EQ(read.recovered, (std::vector<std::pair<std::uint16_t, bool>>{{3, true}, {2, false}}));

    ASSERT_TRUE(
        ParseJournal("morvane journal 1\nrun rename -\np 5 6 /a\t\t/b\nplanned 1\n", &read));
    ASSERT_EQ(read.plan.size(), 1u);
    EXPECT_EQ(read.plan[0].device, 5u);
    EXPECT_EQ(read.plan[0].inode, 6u);
    EXPECT_EQ(read.plan[0].volume, kNoVolume);
    EXPECT_TRUE(read.planned);
}

}  // namespace
}  // namespace morvane::test

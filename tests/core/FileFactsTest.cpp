// Reading a row's file for its new name: through the file-system seam, a bounded prefix of a
// regular file only, so a FIFO or a device never holds up the tools.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "core/RowsFixture.h"
#include "core/TestMedia.h"
#include "host/Messages.h"
#include "names/FileFacts.h"
#include "ops/Busy.h"
#include "ops/nametools/NameTools.h"

namespace morvane {
namespace {

class FileFactsTest : public ::testing::Test, protected test::RowsFixture {
protected:
    // A read that blocks would hang the test: the alarm ends it, failing, instead.
    void SetUp() override { alarm(60); }
    void TearDown() override { alarm(0); }

    BusyState busy;
    NameTools nameTools{list, validation, fs, log, host, host, busy, itemBreak};
};

TEST_F(FileFactsTest, AFifoAndALinkToADeviceFallBackWithoutBeingOpened) {
    const std::string fifo = dir / "pipe.jpg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string device = dir / "zero.jpg";
    ASSERT_EQ(symlink("/dev/zero", device.c_str()), 0);
    test::AppendFileRow(list, fifo);
    test::AppendFileRow(list, device);
    AddRow("photo.jpg");
    test::MakePhoto(dir, "photo.jpg", "2023:01:02 03:04:05");

    nameTools.GatherTargets();
    ASSERT_EQ(
        nameTools.SetSteps({DateStep{true, DateSource::ExifOriginal, "%Y%m%d", 0, Edge::Start}}),
        "");
    for (std::size_t i = 0; i < 2; ++i) {
        const NameTools::Preview preview = nameTools.PreviewAt(i);
        EXPECT_NE(preview.note.find("ファイルを読めないため更新日時を使いました"),
                  std::string::npos)
            << preview.note;
        EXPECT_EQ(preview.error, "");
    }
    EXPECT_EQ(nameTools.PreviewAt(2).name, "20230102photo.jpg");
    EXPECT_TRUE(nameTools.Apply());
    EXPECT_EQ(list.Cell(2, ColNewName), "20230102photo.jpg");
    EXPECT_NE(Log().find(FormatText(msg::kNameToolsExifFallback, 2)), std::string::npos) << Log();
}

TEST_F(FileFactsTest, OnlyABoundedPrefixIsReadAndOnlyOncePerRow) {
    const std::string big = dir.MakeFile("big.mp3", std::string(5u << 20, 'x'));
    std::string bytes;
    std::uint64_t size = 0;
    FileSystem& real = RealFileSystem();
    ASSERT_TRUE(real.ReadFileStart(big, 4096, &bytes, &size).Ok());
    EXPECT_EQ(bytes.size(), 4096u);
    EXPECT_EQ(size, 5u << 20);
    ASSERT_TRUE(real.ReadFileStart(dir.MakeFile("small"), 4096, &bytes, &size).Ok());
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(real.ReadFileStart(dir.MakeFolder("folder"), 4096, &bytes, &size).error, EINVAL);

    fs.readStartCalls = 0;
    FileFacts facts(fs, big);
    EXPECT_EQ(facts.Photo(), nullptr);
    EXPECT_EQ(facts.Photo(), nullptr);
    EXPECT_EQ(facts.Audio(), nullptr);
    // The photo's prefix, then once more the longer one the tags may need; no more.
    EXPECT_EQ(fs.readStartCalls, 2);
}

TEST_F(FileFactsTest, ThePreviewReadsOnlyTheRowsItShows) {
    for (int i = 0; i < 50; ++i)
        test::MakePhoto(dir, "p" + std::to_string(i) + ".jpg", "2023:01:02 03:04:05");
    for (int i = 0; i < 50; ++i)
        test::AppendFileRow(list, dir / ("p" + std::to_string(i) + ".jpg"));
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({DateStep{true, DateSource::ExifOriginal, "%Y", 0, Edge::Start}}),
              "");
    fs.readStartCalls = 0;
    EXPECT_EQ(nameTools.PreviewAt(40).name, "2023p40.jpg");
    EXPECT_EQ(fs.readStartCalls, 1);
}

}  // namespace
}  // namespace morvane

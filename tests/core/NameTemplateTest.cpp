// The template step: fields filled in from the row and its file, music tags through TagLib.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/RowsFixture.h"
#include "core/TestMedia.h"
#include "host/Messages.h"
#include "names/FileFacts.h"
#include "names/NamePipeline.h"
#include "ops/Busy.h"
#include "ops/nametools/NameTools.h"

namespace morvane {
namespace {

TemplateStep Shape(std::string text) {
    TemplateStep step;
    step.text = std::move(text);
    return step;
}

TEST(NameTemplateTest, FieldsOfTheRowAndBadTexts) {
    struct Case {
        std::string text;
        std::string name;
        std::string expected;
    };
    NameContext c;
    c.path = "/music/Album \xE9t\xE9/01.flac";
    c.listIndex = 4;
    c.folderIndex = 1;
    TemplateStep counted = Shape("{n}-{name}{ext}");
    counted.start = 10;
    counted.digits = 3;
    for (const Case& k : std::vector<Case>{
             {"{name}{ext}", "caf\xE9.jpeg", "caf\xE9.jpeg"},
             {"{folder} - {name}{ext}", "01.flac", "Album \xE9t\xE9 - 01.flac"},
             {"{{{name}}}{ext}", ".bashrc", "{.bashrc}"},
             {"x{ext}", "a.tar.gz", "x.gz"},
         }) {
        NamePipeline pipeline({Shape(k.text)});
        ASSERT_EQ(pipeline.error(), "") << k.text;
        EXPECT_EQ(pipeline.Apply(k.name, c, nullptr), k.expected) << k.text;
    }
    EXPECT_EQ(NamePipeline({counted}).Apply("a.txt", c, nullptr), "014-a.txt");
    counted.perFolder = true;
    EXPECT_EQ(NamePipeline({counted}).Apply("a.txt", c, nullptr), "011-a.txt");
    counted.onCollision = true;
    EXPECT_EQ(NamePipeline({counted}).Apply("a.txt", c, nullptr), "-a.txt");
    c.collision = 2;
    EXPECT_EQ(NamePipeline({counted}).Apply("a.txt", c, nullptr), "_011-a.txt");

    for (const std::string bad : {"{nme}", "{name", "name}", "{exif}", "{exif:}"}) {
        NamePipeline pipeline({Shape(bad)});
        EXPECT_NE(pipeline.error().find("テンプレートが正しくありません"), std::string::npos)
            << bad;
    }
    // Without a file, its fields are empty and named.
    NameRemarks remarks;
    EXPECT_EQ(
        NamePipeline({Shape("{artist}-{track:2}-{exif:Model}{ext}")}).Apply("a.mp3", c, &remarks),
        "--.mp3");
    EXPECT_EQ(remarks.missing, "artist, track, exif:Model");
}

class MusicTest : public ::testing::Test, protected test::RowsFixture {
protected:
    void SetUp() override { alarm(60); }
    void TearDown() override { alarm(0); }

    BusyState busy;
    NameTools nameTools{list, validation, fs, log, host, host, busy, itemBreak};
};

TEST_F(MusicTest, NamesFromTheTagsOfFlacMp3AndOgg) {
    const std::string flac =
        test::MakeSong(dir, "cd/a.flac", test::FlacBytes(),
                       {"さくら", "Ｔｈｅ Band", "Spring", "5/12", "1/2", "2019"});
    const std::string mp3 = test::MakeSong(dir, "cd/b.mp3", test::Mp3Bytes(),
                                           {"AC/DC mix", "Artist", "Album", "12", "2", "2020"});
    const std::string ogg = test::MakeSong(dir, "cd/c.ogg", test::OggVorbisBytes(),
                                           {"Third", "Ogg", "Album", "3", "", "2021"});
    ASSERT_NE(flac, "");
    ASSERT_NE(mp3, "");
    ASSERT_NE(ogg, "");
    for (const std::string& path : {flac, mp3, ogg})
        test::AppendFileRow(list, path);
    AddRow("cd/notes.txt", "no tags here");
    const std::string fifo = dir / "cd/pipe.mp3";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    test::AppendFileRow(list, fifo);
    const std::string device = dir / "cd/zero.flac";
    ASSERT_EQ(symlink("/dev/zero", device.c_str()), 0);
    test::AppendFileRow(list, device);

    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({Shape("{disc}-{track:2} {artist} - {title} ({year}){ext}")}), "");
    const std::string lacking =
        FormatText(msg::kNameToolsMissingNote, "disc, track, artist, title, year");
    EXPECT_EQ(nameTools.PreviewAt(3).note, lacking);
    // Neither is opened: the row says the file could not be read, and goes on.
    for (const std::size_t row : {4u, 5u})
        EXPECT_EQ(nameTools.PreviewAt(row).note,
                  "ファイルを読めません (" + std::string(std::strerror(EINVAL)) + ") " + lacking);
    EXPECT_TRUE(nameTools.Apply());
    EXPECT_EQ(list.Cell(0, ColNewName), "1-05 Ｔｈｅ Band - さくら (2019).flac");
    EXPECT_EQ(list.Cell(1, ColNewName), "2-12 Artist - AC_DC mix (2020).mp3");
    EXPECT_EQ(list.Cell(2, ColNewName), "-03 Ogg - Third (2021).ogg");
    EXPECT_EQ(list.Cell(3, ColNewName), "-  -  ().txt");
    EXPECT_EQ(list.Cell(4, ColNewName), "-  -  ().mp3");
    EXPECT_EQ(list.Cell(5, ColNewName), "-  -  ().flac");
    EXPECT_NE(Log().find(FormatText(msg::kNameToolsMissingFields, 4)), std::string::npos) << Log();
}

TEST_F(MusicTest, AnId3v1TagAtTheEndOfALongMp3IsReadAndTagsBeyondWhatIsReadAreSaid) {
    std::string frames;
    while (frames.size() <= FileFacts::kAudioPrefix + 4096)
        frames += test::Mp3Bytes();
    test::AppendFileRow(list, dir.MakeFile("long.mp3", frames + test::Id3v1("Long Song", "Old Band",
                                                                            "", "1999", 7)));
    test::AppendFileRow(list, dir.MakeFile("bare.mp3", frames));
    // Just past the prefix: the last 128 bytes overlap what was read from the start.
    test::AppendFileRow(list,
                        dir.MakeFile("edge.mp3", frames.substr(0, FileFacts::kAudioPrefix + 40) +
                                                     test::Id3v1("Edge", "Band", "", "2001", 2)));

    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({Shape("{track:2} {artist} - {title} ({year}){ext}")}), "");
    EXPECT_EQ(nameTools.PreviewAt(0).name, "07 Old Band - Long Song (1999).mp3");
    EXPECT_EQ(nameTools.PreviewAt(0).note, "");
    const NameTools::Preview bare = nameTools.PreviewAt(1);
    EXPECT_EQ(bare.name, "  -  ().mp3");
    EXPECT_EQ(bare.note, "タグはファイルの先頭 2 MiB と末尾になく、読めませんでした " +
                             FormatText(msg::kNameToolsMissingNote, "track, artist, title, year"));
    EXPECT_EQ(nameTools.PreviewAt(2).name, "02 Band - Edge (2001).mp3");
}

TEST_F(MusicTest, ThePhotosSizeByNameAndAsWidthAndHeight) {
    test::AppendFileRow(list,
                        test::MakePhoto(dir, "a.jpg", "2024:01:02 03:04:05", "X100", 640, 480));
    AddRow("notes.txt", "not a photo");
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({Shape("{exif:Model}_{size}_{width}-{height:5}{ext}")}), "");
    EXPECT_EQ(nameTools.PreviewAt(0).name, "X100_640x480_640-00480.jpg");
    EXPECT_EQ(nameTools.PreviewAt(1).name, "__-.txt");
    EXPECT_EQ(nameTools.PreviewAt(1).note,
              FormatText(msg::kNameToolsMissingNote, "exif:Model, size, width, height"));
}

TEST_F(MusicTest, TheDateIsTheOneTheListShows) {
    setenv("TZ", "UTC", 1);
    tzset();
    const std::string path = dir.MakeFile("a.txt");
    const timespec shown[2] = {{1700000000, 0}, {1700000000, 0}};  // 2023-11-14 22:13:20
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), shown, 0), 0);
    test::AppendFileRow(list, path);
    const timespec later[2] = {{1800000000, 0}, {1800000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({Shape("{date:%Y%m%d_%H%M%S}{ext}")}), "");
    EXPECT_EQ(nameTools.PreviewAt(0).name, "20231114_221320.txt");
    unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace morvane

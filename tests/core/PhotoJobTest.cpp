// Photos by the date they were taken, in one run of the tools: two cameras, several photos in
// the same second, numbered only where their names would collide.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "core/RowsFixture.h"
#include "core/TestMedia.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/nametools/NameTools.h"

namespace morvane {
namespace {

class PhotoJobTest : public ::testing::Test, protected test::RowsFixture {
protected:
    PhotoJobTest() { nameTools.SetView(&host); }

    // The folder row, then the photos in list order: three per second, by two cameras.
    void MakePhotos(int count) {
        AddRow("photos/");
        char when[32];
        char name[32];
        for (int i = 0; i < count; ++i) {
            std::snprintf(when, sizeof when, "2024:05:06 10:%02d:%02d", i / 3 / 60, i / 3 % 60);
            std::snprintf(name, sizeof name, "photos/%s_%04d.JPG", i % 2 != 0 ? "DSC" : "IMG", i);
            test::AppendFileRow(list, test::MakePhoto(dir, name, when, i % 2 ? "Nikon" : "Canon"));
        }
    }
    static std::string Stamp(int i) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "20240506_10%02d%02d", i / 3 / 60, i / 3 % 60);
        return stamp;
    }

    BusyState busy;
    NameTools nameTools{list, validation, fs, log, host, host, busy, itemBreak};
};

NumberStep OnCollision() {
    NumberStep number;
    number.onCollision = true;
    number.place = NumberPlace::After;
    number.separator = "_";
    return number;
}

TEST_F(PhotoJobTest, DateInsteadOfTheNameAndNumbersOnlyWhereNamesCollide) {
    MakePhotos(300);
    // A file already in the folder with the first second's name.
    dir.MakeFile("photos/20240506_100000.JPG");
    DateStep date{true, DateSource::ExifOriginal, "%Y%m%d_%H%M%S", 0, Edge::Start, true};
    host.nameToolsDialog = [&](NameTools& tools) {
        EXPECT_EQ(tools.SetSteps({date, OnCollision()}), "");
        EXPECT_EQ(tools.TargetCount(), 300u);
        // The preview of a row far down names the rows above it first, as Apply will.
        EXPECT_EQ(tools.PreviewAt(298).name, Stamp(298) + "_1.JPG");
        EXPECT_EQ(tools.PreviewAt(0).name, Stamp(0) + "_1.JPG");
        EXPECT_EQ(tools.PreviewAt(3).name, Stamp(3) + ".JPG");
        return true;
    };
    nameTools.OnNameTools();

    EXPECT_EQ(list.Cell(0, ColNewName), "photos");  // the folder row is left alone
    std::set<std::string> names;
    for (int i = 0; i < 300; ++i) {
        const std::string name(list.Cell(i + 1, ColNewName));
        names.insert(name);
        // The second that already has a file numbers all three; the others from the second.
        const int place = i % 3 + (i < 3 ? 1 : 0);
        const std::string expected =
            Stamp(i) + (place == 0 ? std::string() : "_" + std::to_string(place)) + ".JPG";
        EXPECT_EQ(name, expected) << i;
        EXPECT_EQ(Bits(i + 1), 0u) << i;
    }
    EXPECT_EQ(names.size(), 300u);
    EXPECT_NE(Log().find(FormatText(msg::kNameToolsSummary, 300, 0)), std::string::npos) << Log();
}

TEST_F(PhotoJobTest, OneTemplateWithTheCameraAndACounterOnCollision) {
    MakePhotos(300);
    TemplateStep shape;
    shape.text = "{date}{n}_{exif:Model}{ext}";
    shape.source = DateSource::ExifOriginal;
    shape.format = "%Y%m%d_%H%M%S";
    shape.onCollision = true;
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({shape}), "");
    ASSERT_TRUE(nameTools.Apply());
    EXPECT_EQ(list.Cell(0, ColNewName), "photos");
    std::set<std::string> names;
    for (int i = 0; i < 300; ++i) {
        const std::string camera = i % 2 != 0 ? "_Nikon" : "_Canon";
        const std::string name(list.Cell(i + 1, ColNewName));
        // The camera is in the name, so only its second photo in a second collides.
        const bool second = i % 3 == 2;
        EXPECT_EQ(name, Stamp(i) + (second ? "_1" : "") + camera + ".JPG") << i;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 300u);
}

TEST_F(PhotoJobTest, ANameThatIsTheRowsOwnIsNoCollisionSoARunAgainChangesNothing) {
    MakePhotos(6);
    DateStep date{true, DateSource::ExifOriginal, "%Y%m%d_%H%M%S", 0, Edge::Start, true};
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({date, OnCollision()}), "");
    ASSERT_TRUE(nameTools.Apply());
    // Renamed on the disk as the rename would, then registered again.
    std::vector<std::string> given;
    for (int row = 1; row <= 6; ++row)
        given.emplace_back(list.Cell(row, ColNewName));
    list.RemoveAllRows();
    AddRow("photos/");
    for (int i = 0; i < 6; ++i) {
        const std::string from = dir / ("photos/" + std::string(i % 2 ? "DSC" : "IMG") + "_000" +
                                        std::to_string(i) + ".JPG");
        ASSERT_EQ(std::rename(from.c_str(), (dir / ("photos/" + given[i])).c_str()), 0);
        test::AppendFileRow(list, dir / ("photos/" + given[i]));
    }
    nameTools.GatherTargets();
    ASSERT_EQ(nameTools.SetSteps({date, OnCollision()}), "");
    ASSERT_TRUE(nameTools.Apply());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list.Cell(i + 1, ColNewName), given[i]);
}

}  // namespace
}  // namespace morvane

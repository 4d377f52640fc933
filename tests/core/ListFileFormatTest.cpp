// The list file's bytes: what the writer produces and what the reader accepts, refuses and
// reports as damaged. No disk and no application here.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "formats/ListFileFormat.h"
#include "formats/ListFileReader.h"
#include "formats/ListFileWriter.h"

namespace morvane::listfile {
namespace {

using Result = ListFileReader::Result;

// A header whose length field already matches `body` appended after it.
std::string FileWith(std::uint32_t version, std::int32_t count, std::uint8_t fields,
                     const std::string& body) {
    std::string bytes(kMagic);
    PutFixed32(&bytes, version);
    PutFixed64(&bytes, kHeaderSize + body.size());
    PutFixed32(&bytes, static_cast<std::uint32_t>(count));
    PutFixed8(&bytes, fields);
    return bytes + body;
}

std::string Field(std::uint8_t tag, const std::string& text) {
    std::string bytes;
    PutFixed8(&bytes, tag);
    PutFixed32(&bytes, static_cast<std::uint32_t>(text.size()));
    return bytes + text;
}

void SetLength(std::string* file, std::uint64_t length) {
    EncodeFixed64(&(*file)[kLengthOffset], length);
}

// Reads every record; returns the last result.
Result ReadAll(std::string_view data, std::vector<ListFileRecord>* records) {
    ListFileReader reader(data);
    if (!reader.ReadHeader())
        return Result::Damaged;
    ListFileRecord record;
    Result r;
    while ((r = reader.ReadRecord(&record)) == Result::Record)
        records->push_back(record);
    return r;
}

TEST(ListFileWriterTest, RecordsAreTagZeroThenTagOneLittleEndian) {
    ListFileWriter writer;
    ASSERT_TRUE(writer.AddRecord("/d/a.txt", "b"));
    const std::string bytes = writer.Finish();
    const std::string expected = std::string("MVF\x00\x00\x01\x00", 7) +
                                 std::string("\x27\0\0\0\0\0\0\0", 8) +  // 20 + 13 + 6 = 39
                                 std::string("\x01\0\0\0\x02", 5) +
                                 std::string("\x00\x08\0\0\0/d/a.txt", 13) +
                                 std::string("\x01\x01\0\0\0b", 6);
    EXPECT_EQ(bytes, expected);
}

TEST(ListFileWriterTest, RoundTripKeepsEveryByteAndOrder) {
    const std::vector<ListFileRecord> rows = {
        {"/d/a.txt", "new.txt"},
        {"/d/\xE3\x81\x82.txt", "\xE3\x81\x84.txt"},  // あ, い
        {"/d/latin1-\xE9.txt", "\xFF\xFE not utf-8"},
        {"/d/empty-name", ""},
        {std::string("/d/x\0y", 6), std::string("n\0m", 3)},
    };
    ListFileWriter writer;
    for (const auto& row : rows)
        ASSERT_TRUE(writer.AddRecord(row.path, row.newName));
    EXPECT_EQ(writer.RecordCount(), 5);
    const std::string bytes = writer.Finish();

    std::vector<ListFileRecord> back;
    EXPECT_EQ(ReadAll(bytes, &back), Result::End);
    ASSERT_EQ(back.size(), rows.size());
    ListFileWriter again;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(back[i].path, rows[i].path) << i;
        EXPECT_EQ(back[i].newName, rows[i].newName) << i;
        again.AddRecord(back[i].path, back[i].newName);
    }
    EXPECT_EQ(again.Finish(), bytes);
}

TEST(ListFileReaderTest, HeaderChecksMagicVersionAndLength) {
    const std::string good = FileWith(kVersion, 0, 2, "");
    EXPECT_TRUE(ListFileReader(good).ReadHeader());

    for (std::size_t i = 0; i < kMagic.size(); ++i) {
        std::string bad = good;
        bad[i] = 'x';
        EXPECT_FALSE(ListFileReader(bad).ReadHeader()) << "magic byte " << i;
    }
    struct {
        std::uint32_t version;
        bool accepted;
    } const versions[] = {{0x00000000, true},  {0x0000FFFF, true},  {0x00010000, true},
                          {0x0001FFFF, true},  {0x00020000, false}, {0x00027777, false},
                          {0xFFFF0000, false}, {0x80000001, false}};
    for (const auto& v : versions) {
        EXPECT_EQ(ListFileReader(FileWith(v.version, 0, 2, "")).ReadHeader(), v.accepted)
            << std::hex << v.version;
    }

    // The length field must name the real size, neither one more nor one less.
    std::string longer = FileWith(kVersion, 1, 2, Field(0, "/a") + Field(1, "b"));
    SetLength(&longer, longer.size() + 1);
    EXPECT_FALSE(ListFileReader(longer).ReadHeader());
    SetLength(&longer, longer.size() - 1);
    EXPECT_FALSE(ListFileReader(longer).ReadHeader());
    SetLength(&longer, longer.size() + (std::uint64_t{1} << 32));  // upper half counts too
    EXPECT_FALSE(ListFileReader(longer).ReadHeader());

    // Shorter than a header, even with a length field that claims the short size.
    for (std::size_t n = 0; n < kHeaderSize; ++n) {
        std::string cut = good.substr(0, n);
        if (n >= kLengthOffset + 8)
            SetLength(&cut, n);
        EXPECT_FALSE(ListFileReader(cut).ReadHeader()) << n;
    }
    // A failed header lets no record through.
    ListFileReader refused(longer);
    ListFileRecord record;
    EXPECT_FALSE(refused.ReadHeader());
    EXPECT_EQ(refused.ReadRecord(&record), Result::Damaged);
}

TEST(ListFileReaderTest, CountOfZeroOrLessReadsNoRecords) {
    const std::string body = Field(0, "/a") + Field(1, "b");
    for (std::int32_t count : {0, -1, INT32_MIN}) {
        std::vector<ListFileRecord> records;
        EXPECT_EQ(ReadAll(FileWith(kVersion, count, 2, body), &records), Result::End) << count;
        EXPECT_TRUE(records.empty()) << count;
    }
}

TEST(ListFileReaderTest, FieldsPerRecordDecideTheShapeAndLastTagWins) {
    // Three fields with an unknown tag in the middle and at the end.
    const std::string body = Field(0, "/d/one") + Field(7, "skipped text") + Field(1, "uno") +
                             Field(0, "/d/two") + Field(1, "dos") + Field(7, "");
    std::vector<ListFileRecord> records;
    EXPECT_EQ(ReadAll(FileWith(kVersion, 2, 3, body), &records), Result::End);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].path, "/d/one");
    EXPECT_EQ(records[0].newName, "uno");
    EXPECT_EQ(records[1].path, "/d/two");
    EXPECT_EQ(records[1].newName, "dos");

    // Repeated tags: the last one counts. Missing tags: empty text.
    records.clear();
    const std::string repeated = Field(1, "first") + Field(0, "/p1") + Field(0, "/p2") +
                                 Field(1, "second") + Field(9, "x") + Field(9, "y") +
                                 Field(8, "z") + Field(255, "w");
    EXPECT_EQ(ReadAll(FileWith(kVersion, 2, 4, repeated), &records), Result::End);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].path, "/p2");
    EXPECT_EQ(records[0].newName, "second");
    EXPECT_EQ(records[1].path, "");
    EXPECT_EQ(records[1].newName, "");

    // One field per record: only the path.
    records.clear();
    EXPECT_EQ(ReadAll(FileWith(kVersion, 1, 1, Field(0, "/only")), &records), Result::End);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].path, "/only");
    EXPECT_EQ(records[0].newName, "");

    // Trailing bytes after the announced records are not looked at.
    records.clear();
    EXPECT_EQ(ReadAll(FileWith(kVersion, 1, 1, Field(0, "/only") + "junk"), &records), Result::End);
    EXPECT_EQ(records.size(), 1u);
}

TEST(ListFileReaderTest, DamageStopsAtTheFirstRecordThatIsNotThere) {
    const std::string two = Field(0, "/a") + Field(1, "x") + Field(0, "/b") + Field(1, "y");

    // More records announced than present.
    std::vector<ListFileRecord> records;
    EXPECT_EQ(ReadAll(FileWith(kVersion, 3, 2, two), &records), Result::Damaged);
    EXPECT_EQ(records.size(), 2u);
    records.clear();
    EXPECT_EQ(ReadAll(FileWith(kVersion, INT32_MAX, 2, two), &records), Result::Damaged);
    EXPECT_EQ(records.size(), 2u);

    // A field length that runs past the end, by one byte and by nearly 4 GiB.
    for (std::uint32_t length : {3u, 0xFFFFFFFFu}) {
        std::string body = Field(0, "/a") + Field(1, "x") + Field(0, "/b");
        PutFixed8(&body, 1);
        PutFixed32(&body, length);
        body += "yy";
        records.clear();
        EXPECT_EQ(ReadAll(FileWith(kVersion, 2, 2, body), &records), Result::Damaged) << length;
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].path, "/a");
    }

    // Records without fields would take no room at all.
    records.clear();
    EXPECT_EQ(ReadAll(FileWith(kVersion, INT32_MAX, 0, ""), &records), Result::Damaged);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(ReadAll(FileWith(kVersion, 0, 0, ""), &records), Result::End);

    // Once damaged, the reader stays so.
    const std::string threeAnnounced = FileWith(kVersion, 3, 2, two);
    ListFileReader reader(threeAnnounced);
    ASSERT_TRUE(reader.ReadHeader());
    ListFileRecord record;
    EXPECT_EQ(reader.ReadRecord(&record), Result::Record);
    EXPECT_EQ(reader.ReadRecord(&record), Result::Record);
    EXPECT_EQ(reader.ReadRecord(&record), Result::Damaged);
    EXPECT_EQ(reader.ReadRecord(&record), Result::Damaged);
    EXPECT_EQ(reader.RecordsRead(), 2);
}

TEST(ListFileReaderTest, EveryCutOfAGoodFileIsDamageAfterTheWholeRecords) {
    ListFileWriter writer;
    writer.AddRecord("/d/first", "1st");
    writer.AddRecord("/d/second", "2nd");
    writer.AddRecord("/d/third", "");
    const std::string good = writer.Finish();
    // Where each record ends.
    const std::size_t ends[] = {20 + 5 + 8 + 5 + 3, 20 + 5 + 8 + 5 + 3 + 5 + 9 + 5 + 3,
                                good.size()};
    for (std::size_t n = kHeaderSize; n < good.size(); ++n) {
        std::string cut = good.substr(0, n);
        SetLength(&cut, n);  // a cut that still passes the header
        std::vector<ListFileRecord> records;
        EXPECT_EQ(ReadAll(cut, &records), Result::Damaged) << n;
        std::size_t whole = 0;
        while (whole < 3 && ends[whole] <= n)
            ++whole;
        EXPECT_EQ(records.size(), whole) << n;
    }
}

TEST(ListFileReaderTest, MutatedFilesNeverReadPastTheData) {
    ListFileWriter writer;
    for (int i = 0; i < 6; ++i)
        writer.AddRecord("/d/file" + std::to_string(i), "name" + std::to_string(i));
    const std::string good = writer.Finish();
    std::mt19937 random(20240611);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int k = 0; k < flips; ++k)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        if (random() % 3 == 0)
            bytes.resize(kHeaderSize + random() % (bytes.size() - kHeaderSize));
        if (random() % 2 == 0)
            SetLength(&bytes, bytes.size());
        // In a buffer of the exact size, so that a sanitizer build sees any read past it.
        const std::vector<char> exact(bytes.begin(), bytes.end());
        const std::string_view data(exact.data(), exact.size());
        ListFileReader reader(data);
        if (!reader.ReadHeader())
            continue;
        ListFileRecord record;
        std::size_t textBytes = 0;
        Result r;
        while ((r = reader.ReadRecord(&record)) == Result::Record)
            textBytes += record.path.size() + record.newName.size();
        ASSERT_LE(textBytes, data.size()) << round;
        ASSERT_LE(reader.RecordsRead(), reader.RecordCount()) << round;
        ASSERT_TRUE(r == Result::End || r == Result::Damaged) << round;
    }
}

}  // namespace
}  // namespace morvane::listfile

// The path indexes grow while rows come in. Messages that name "the other row" of a duplicate
// or a swap must name the same one as in a list whose indexes never grew.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/RowsFixture.h"

namespace morvane::test {
namespace {

constexpr int kFirst = 300;
constexpr int kAll = 5000;  // three doublings: an odd count, so a reversing resize shows

std::string FileName(int i) {
    return "f" + std::to_string(10000 + i);
}

// Names on rows [begin, end): duplicates in groups spread over the list (a group of its own
// for each call, so the early groups are linked before the indexes grow and never after),
// chains onto other rows' current names, and names blocked by such a row with an error.
void NameRows(RowsFixture& f, int begin, int end, const std::string& group) {
    std::vector<std::string> texts;  // the names are views: they must outlive the call
    std::vector<int> rows;
    for (int row = begin; row < end; ++row) {
        if (row % 5 < 2)
            texts.push_back(group + std::to_string(row % 37));
        else if (row % 5 == 2)
            texts.push_back(FileName((row * 7 + 3) % kAll));
        else if (row % 5 == 3)
            texts.push_back(FileName(row - 3));
        else
            continue;
        rows.push_back(row);
    }
    std::vector<NewName> names;
    for (std::size_t i = 0; i < rows.size(); ++i)
        names.emplace_back(rows[i], texts[i]);
    f.validation.SetNewNames(names, NameSource::Row);
}

// Everything the list says: the log, and each row's bits and explanation.
std::string FillAndName(RowsFixture& f, bool reserved) {
    if (reserved)
        f.list.ReserveRows(kAll);
    for (int i = 0; i < kFirst; ++i)
        EXPECT_EQ(f.AddRow(FileName(i)), i);
    NameRows(f, 0, kFirst, "early");
    for (int i = kFirst; i < kAll; ++i)
        EXPECT_EQ(f.AddRow(FileName(i)), i);
    NameRows(f, kFirst, kAll, "late");
    std::string said = f.Log();
    for (int row = 0; row < kAll; ++row)
        said += std::to_string(f.Bits(row)) + " " + f.validation.ExplainErrors(row) + "\n";
    // The two lists lie in different folders.
    for (std::size_t at = 0; (at = said.find(f.dir.path(), at)) != std::string::npos;)
        said.replace(at, f.dir.path().size(), "<dir>");
    return said;
}

TEST(IndexGrowthTest, TheOtherRowIsTheSameWhetherTheIndexesGrewOrNot) {
    RowsFixture growing;
    RowsFixture reserved;
    const std::size_t reservedBuckets = [&] {
        reserved.list.ReserveRows(kAll);
        return reserved.list.NewPathIndex().BucketCount();
    }();
    const std::string grown = FillAndName(growing, false);
    EXPECT_EQ(FillAndName(reserved, true), grown);
    EXPECT_NE(grown.find("重複します"), std::string::npos);
    EXPECT_NE(grown.find("入れ替え先"), std::string::npos);
    // The one grew through several sizes, the other kept its size.
    EXPECT_GE(growing.list.NewPathIndex().BucketCount(), 8 * PathIndex::kMinBuckets);
    EXPECT_EQ(reserved.list.NewPathIndex().BucketCount(), reservedBuckets);
    EXPECT_TRUE(growing.list.NewPathIndex().IsConsistent());
    EXPECT_TRUE(growing.list.CurrentPathIndex().IsConsistent());

    // A cleared list starts small again.
    growing.list.RemoveAllRows();
    EXPECT_EQ(growing.list.NewPathIndex().BucketCount(), PathIndex::kMinBuckets);
    EXPECT_EQ(growing.list.CurrentPathIndex().BucketCount(), PathIndex::kMinBuckets);
}

}  // namespace
}  // namespace morvane::test

// Thousands of damaged list files loaded into the list: cut short, bytes changed,
// random garbage. None may crash it, leave it busy, or break its indexes.

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "core/ListFileFixture.h"
#include "formats/ListFileFormat.h"
#include "support/FakeHost.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

class ListFileMutationTest : public test::ListFileFixture, public ::testing::Test {};

TEST_F(ListFileMutationTest, DamagedFilesNeverCrashTheLoader) {
    // A changed byte can turn a stored path into any path on the machine (a cut one names the
    // test folder itself, or /tmp). The trial renames of registration may move nothing but
    // the test's own files.
    const std::string inside = dir.path() + "/";
    fs.failMove = [&](const std::string& from, const std::string& to) {
        for (const std::string* p : {&from, &to}) {
            if (p->compare(0, inside.size(), inside) != 0 || p->find("/..") != std::string::npos)
                return EPERM;
        }
        return 0;
    };

    const std::vector<std::string> files = {dir.MakeFile("one.txt"), dir.MakeFile("two.txt"),
                                            dir.MakeFolder("three")};
    {
        Registration::Run run(registration);
        for (const auto& f : files)
            registration.RegisterPath(f);
    }
    for (int r = 0; r < 3; ++r)
        validation.SetNewName(r, "renamed" + std::to_string(r));
    const std::string listPath = dir / "list.mvf";
    ASSERT_TRUE(listFile.SaveListFile(listPath));
    const std::string good = test::ReadFileText(listPath);

    std::mt19937 random(7130);
    int withRows = 0, damaged = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        switch (round % 4) {
            case 0:  // changed bytes
                for (int k = 1 + static_cast<int>(random() % 6); k > 0; --k)
                    bytes[random() % bytes.size()] = static_cast<char>(random());
                break;
            case 1:  // cut short
                bytes.resize(random() % bytes.size());
                break;
            case 2:  // garbage after a good header
                bytes.resize(listfile::kHeaderSize + random() % 200);
                for (std::size_t i = listfile::kHeaderSize; i < bytes.size(); ++i)
                    bytes[i] = static_cast<char>(random());
                break;
            default:  // garbage throughout
                bytes.resize(random() % 300);
                for (char& ch : bytes)
                    ch = static_cast<char>(random());
                break;
        }
        // Most changes would only fail the length check; let half of them pass it.
        if (bytes.size() >= listfile::kHeaderSize && random() % 2 == 0)
            listfile::EncodeFixed64(&bytes[listfile::kLengthOffset], bytes.size());
        const std::string path = dir.MakeFile("mutated.mvf", bytes);

        ASSERT_TRUE(listFile.LoadListFile(path)) << round;
        ASSERT_FALSE(busy.Busy()) << round;
        ASSERT_EQ(busy.Depth(), 0) << round;
        ASSERT_FALSE(host.progressOpen) << round;
        ASSERT_LE(list.RowCount(), static_cast<int>(bytes.size() / 5)) << round;
        ASSERT_TRUE(list.CurrentPathIndex().IsConsistent()) << round;
        ASSERT_TRUE(list.NewPathIndex().IsConsistent()) << round;
        ASSERT_EQ(list.NewPathIndex().CountEntries(), static_cast<std::size_t>(list.RowCount()))
            << round;
        withRows += list.RowCount() > 0;
        damaged += log.Text().find("リストファイルが壊れています") != std::string::npos;
    }
    // The loop reached both the records and the damage handling.
    EXPECT_GT(withRows, 100);
    EXPECT_GT(damaged, 100);
    // Every file of the test is still where it was.
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"list.mvf", "mutated.mvf", "one.txt", "three", "two.txt"}));
}

}  // namespace
}  // namespace morvane

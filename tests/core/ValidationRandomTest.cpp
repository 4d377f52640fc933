// Thousands of random register / rename / remove / sort steps on a small real folder, names set
// one row at a time, in batches over some rows and through the text file's re-import; after
// every step each row's bits must equal a check made from scratch.

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "app/AppInternals.h"
#include "app/Command.h"
#include "support/AppFixture.h"

namespace morvane::test {
namespace {

struct Expected {
    const CMorvaneApp& app;
    std::map<const FileEntry*, bool> memo;

    const FileEntry* Occupant(const FileEntry* e) const {
        for (int r = 0; r < const_cast<CMorvaneApp&>(app).List().RowCount(); ++r) {
            const FileEntry* o = const_cast<CMorvaneApp&>(app).List().EntryAt(r);
            if (o != e && o->currentKey == e->NewKey())
                return o;
        }
        return nullptr;
    }

    std::uint32_t OtherBits(const FileEntry* e, std::string_view name) const {
        auto& list = const_cast<CMorvaneApp&>(app).List();
        std::uint32_t bits = e->errors & ErrRenameTest;
        if (name.empty())
            bits |= ErrBlank;
        if (name.find_first_of(std::string_view("/\r\n\0", 4)) != std::string_view::npos)
            bits |= ErrForbidden;
        for (int r = 0; r < list.RowCount(); ++r) {
            const FileEntry* o = list.EntryAt(r);
            if (o != e && o->NewKey() == e->NewKey())
                bits |= ErrDuplicate;
        }
        if (name.empty()) {
            bits |= e->errors & ErrExists;  // a blank name keeps what it said before
        } else if (e->Moves() && Occupant(e) == nullptr && PathExists(e->NewKey())) {
            bits |= ErrExists;
        }
        return bits;
    }

    // Swap-blocked: the chain of occupants reaches a moving row with another error.
    bool Blocked(const FileEntry* e) const {
        auto& list = const_cast<CMorvaneApp&>(app).List();
        if (!e->Moves())
            return false;
        const FileEntry* o = Occupant(e);
        for (int steps = 0; o != nullptr && steps <= list.RowCount(); ++steps) {
            if (!o->Moves())
                return false;
            if (OtherBits(o, list.Cell(o->row, ColNewName)) != 0)
                return true;
            if (o == e)
                return false;
            o = Occupant(o);
        }
        return false;
    }
};

TEST(ValidationRandomTest, IncrementalBitsMatchAFromScratchCheck) {
    AppFixture f;
    const std::vector<std::string> files = {"a", "b", "c", "d", "e", "f", "g"};
    for (const auto& name : files)
        f.dir.MakeFile(name, name);
    std::vector<std::string> names = files;
    for (const char* extra : {"", "   ", "x/y", "new1", "new2", "a "})
        names.push_back(extra);
    std::set<std::string> lockedFiles;
    bool strandTemporaries = false;  // a file that reaches its temporary name stays there
    f.fs.failMove = [&](const std::string& from, const std::string&) {
        if (strandTemporaries && from.find("[MORVANE]_") != std::string::npos)
            return EACCES;
        for (const auto& l : lockedFiles) {
            if (from == f.dir / l)
                return EACCES;
        }
        return 0;
    };

    TempDir texts;
    const std::string textPath = texts / "names.txt";

    std::mt19937 rng(20261207);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    for (int step = 0; step < 5000; ++step) {
        const int op = static_cast<int>(pick(15));
        auto& list = f.app.List();
        std::string what;
        // A run renames files away: the names to register come back, but not where a row
        // wants to go. The program learns of a file made behind its back only when it checks
        // that row again, so the check from scratch would see what the program cannot.
        for (const auto& name : files) {
            const std::string path = f.dir / name;
            bool wanted = false;
            for (int r = 0; r < list.RowCount(); ++r)
                wanted = wanted || (list.EntryAt(r)->Moves() && list.EntryAt(r)->NewKey() == path);
            if (!wanted && !PathExists(path))
                f.dir.MakeFile(name, name);
        }
        if (op < 3 || list.RowCount() == 0) {
            const std::string name = files[pick(files.size())];
            lockedFiles.clear();
            if (pick(6) == 0)
                lockedFiles.insert(name);
            AppInternals::Registrar(f.app).RegisterPath(f.dir / name);
            what = "register " + name;
        } else if (op < 8) {
            const int row = static_cast<int>(pick(static_cast<std::size_t>(list.RowCount())));
            const std::string name = names[pick(names.size())];
            f.app.Rules().SetNewName(row, name);
            what = "row " + std::to_string(row) + " -> '" + name + "'";
        } else if (op < 10) {
            // Some rows in a random order, some of them only checked again.
            std::vector<int> rows;
            for (int r = 0; r < list.RowCount(); ++r) {
                if (pick(2) == 0)
                    rows.push_back(r);
            }
            std::shuffle(rows.begin(), rows.end(), rng);
            std::vector<NewName> batch;
            for (int r : rows)
                batch.push_back(pick(5) == 0 ? NewName::Keep(r)
                                             : NewName(r, names[pick(names.size())]));
            const NameSource source = pick(2) == 0 ? NameSource::Row : NameSource::TextFile;
            f.app.Rules().SetNewNames(batch, source);
            what = "batch of " + std::to_string(batch.size());
        } else if (op < 11) {
            f.app.Order().SortByColumn(static_cast<int>(pick(ColumnCount)));
            what = "sort";
        } else if (op < 13) {
            // The text file's lines, sometimes too few; under the lock a sort may put the rows
            // out of line order, and a row that claims another's line leaves its own unchecked.
            std::string text;
            const int lines =
                std::max(0, list.RowCount() - (pick(4) == 0 ? static_cast<int>(pick(3)) : 0));
            for (int k = 0; k < lines; ++k)
                text += names[pick(names.size())] + "\n";
            std::ofstream(textPath, std::ios::binary | std::ios::trunc) << text;
            AppInternals::RoundTrip(f.app).LockRows(textPath);
            if (pick(2) == 0)
                f.app.Order().SortByColumn(static_cast<int>(pick(ColumnCount)));
            if (pick(4) == 0 && list.RowCount() > 1)
                list.SetCell(0, ColRowNumber, std::string(list.Cell(1, ColRowNumber)));
            AppInternals::RoundTrip(f.app).ReimportTextFile();
            AppInternals::RoundTrip(f.app).UnlockRows();
            what = "re-import of " + std::to_string(lines) + " lines";
        } else if (op == 14) {
            // The rows left by a run point at their files where they are now.
            strandTemporaries = pick(3) == 0;
            f.host.yesNoAnswers.push_back(true);
            f.app.Execute(Command::Rename);
            strandTemporaries = false;
            what = "rename run";
        } else {
            std::vector<int> rows;
            for (int r = 0; r < list.RowCount(); ++r) {
                if (pick(3) == 0)
                    rows.push_back(r);
            }
            if (rows.empty())
                rows.push_back(0);
            list.SetSelection(rows);
            AppInternals::Removal(f.app).RemoveSelectedRows();
            what = "remove " + std::to_string(rows.size()) + " rows";
        }
        Expected expected{f.app, {}};
        for (int r = 0; r < list.RowCount(); ++r) {
            const FileEntry* e = list.EntryAt(r);
            const std::string_view name = list.Cell(r, ColNewName);
            std::uint32_t bits = expected.OtherBits(e, name);
            if (expected.Blocked(e))
                bits |= ErrSwapBlocked;
            if (e->errors != bits) {
                for (int k = 0; k < list.RowCount(); ++k) {
                    const FileEntry* x = list.EntryAt(k);
                    ADD_FAILURE() << k << ": " << x->currentKey.substr(f.dir.path().size())
                                  << " -> " << x->NewKey().substr(f.dir.path().size()) << " bits "
                                  << x->errors;
                }
            }
            ASSERT_EQ(e->errors, bits) << "step " << step << " (" << what << "), row " << r << " "
                                       << e->currentKey << " -> " << e->NewKey();
            ASSERT_EQ(list.Cell(r, ColError), ErrorCellText(bits));
            ASSERT_EQ(e->row, r);
        }
        ASSERT_TRUE(list.IsConsistent()) << "step " << step << " (" << what << ")";
    }
}

}  // namespace
}  // namespace morvane::test

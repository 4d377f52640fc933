#pragma once
// The list and the parts every row operation is built on, over a real temporary folder,
// without the rest of the program: a test of one operation builds that operation on top.

#include <cstdint>
#include <string>

#include "core/TestRows.h"
#include "host/ActivityLog.h"
#include "model/ListModel.h"
#include "ops/ItemBreak.h"
#include "ops/textfile/RowLock.h"
#include "rules/Validation.h"
#include "settings/AppSettings.h"
#include "support/FakeHost.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

namespace morvane::test {

struct RowsFixture {
    // The log shows in the host, as the application wires it.
    RowsFixture() { log.SetView(&host); }
    RowsFixture(const RowsFixture&) = delete;
    RowsFixture& operator=(const RowsFixture&) = delete;

    // Creates dir/relative (a folder when it ends with "/") and appends its row through the
    // list's own row builder, checked by the rules as a registered row is; its position.
    int AddRow(const std::string& relative, const std::string& content = "") {
        std::string path;
        if (!relative.empty() && relative.back() == '/') {
            path = dir.MakeFolder(relative.substr(0, relative.size() - 1));
        } else {
            path = dir.MakeFile(relative, content);
        }
        const int position = AppendFileRow(list, path);
        validation.OnRowRegistered(position);
        return position;
    }
    std::uint32_t Bits(int row) { return list.EntryAt(row)->errors; }
    const std::string& Log() const { return log.Text(); }

    // Takes or releases the row lock as the text round trip would; the question to release
    // it still comes from the lock itself.
    void SetRowLocked(bool locked) {
        if (locked) {
            rowLock.Take(holder_);
        } else {
            rowLock.Released();
        }
    }

    TempDir dir;
    FakeHost host;
    FaultFileSystem fs;
    ActivityLog log;
    AppSettings settings;
    ListModel list;
    Validation validation{list, fs, log};
    RowLock rowLock{host};
    // The only place the tests of single operations build the break between items.
    ItemBreak itemBreak{host, settings};

private:
    // Releasing is all a test needs of the text file behind the lock.
    struct Holder final : RowLock::Holder {
        explicit Holder(RowLock& lock) : lock_(lock) {}
        void UnlockRows() override { lock_.Released(); }
        RowLock& lock_;
    };
    Holder holder_{rowLock};
};

}  // namespace morvane::test

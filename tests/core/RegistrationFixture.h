#pragma once
// Registration with what it uses, on top of the rows: the program's registering without its
// windows, command table or other operations.

#include <string>

#include "core/RowsFixture.h"
#include "host/Messages.h"
#include "model/FileEntry.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/registration/Registration.h"
#include "ops/rows/RowRemoval.h"

namespace morvane::test {

struct RegistrationFixture : RowsFixture {
    RegistrationFixture() {
        // As start-up sets them: rows under these prefixes are registered locked.
        locations.programPrefix = "/usr";
        locations.configPrefix = "/etc";
        settings.registerFolders = 1;
    }

    // Creates dir/relative (a file unless it ends with "/") and registers it; the new row's
    // position, or -1 when registration refused it.
    int Add(const std::string& relative, const std::string& content = "") {
        std::string path;
        if (!relative.empty() && relative.back() == '/') {
            path = dir.MakeFolder(relative.substr(0, relative.size() - 1));
        } else {
            path = dir.MakeFile(relative, content);
        }
        const int before = list.RowCount();
        if (!registration.RegisterPath(path))
            return -1;
        return before;
    }
    // Position of the row registered for dir/relative, or -1.
    int RowOf(const std::string& relative) {
        std::string path = dir / relative;
        if (path.back() == '/')
            path.pop_back();
        FileEntry* e = list.CurrentPathIndex().Find(path);
        return e == nullptr ? -1 : e->row;
    }
    // What the application does when the progress dialog is closed.
    void CloseProgressDialog() {
        if (busy.Abort())
            log.AppendLog(msg::kAborted);
    }

    Locations locations;
    BusyState busy;
    RowRemoval removal{list, validation, log, host, host, itemBreak};
    Registration registration{list, validation, fs,   log,  settings,  locations, host,
                              host, host,       host, busy, itemBreak, rowLock};
};

}  // namespace morvane::test

#include "ops/recovery/StrayTemporaries.h"

#include <cstring>
#include <set>

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "ops/rename/TemporaryName.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace morvane {

std::vector<StrayFile> FindStrayTemporaries(FileSystem& fs, const JournalText& plan) {
    std::set<std::string> folders;
    for (const JournalEntry& entry : plan.plan) {
        folders.emplace(ParentOf(entry.from));
        folders.emplace(ParentOf(entry.to));
    }
    std::vector<StrayFile> strays;
    for (const std::string& folder : folders) {
        std::vector<std::string> names;
        if (folder.empty() || !fs.ListFolder(folder, &names).Ok())
            continue;
        const std::size_t nameMax = fs.NameMax(folder);
        for (const std::string& name : names) {
            std::string old;
            if (!IsTemporaryName(name, &old))
                continue;
            // A name that fills the folder's limit may have lost the end of the old name.
            const bool cut = nameMax != 0 && name.size() + 4 > nameMax;
            strays.push_back({JoinPath(folder, name), cut ? std::string() : JoinPath(folder, old)});
        }
    }
    return strays;
}

int PutStraysBack(FileSystem& fs, ActivityLog& log, const std::vector<StrayFile>& strays) {
    int left = 0;
    for (const StrayFile& stray : strays) {
        if (stray.old.empty()) {
            log.AppendLog(FormatText(msg::kStrayNameCut, stray.path.c_str()));
            ++left;
            continue;
        }
        if (const FsStatus moved = fs.Move(stray.path, stray.old); !moved.Ok()) {
            log.AppendLog(FormatText(msg::kStrayNotPutBack, stray.path.c_str(), stray.old.c_str(),
                                     std::strerror(moved.error)));
            ++left;
            continue;
        }
        log.AppendLog(FormatText(msg::kStrayPutBack, stray.path.c_str(), stray.old.c_str()));
    }
    return left;
}

}  // namespace morvane

#include "ops/recovery/RunSummary.h"

#include <ctime>
#include <unordered_set>

#include "host/Messages.h"
#include "ops/rename/Journal.h"
#include "platform/Paths.h"

namespace morvane {

std::string RunTimeOf(const JournalFile& file) {
    std::tm utc{};
    if (strptime(file.name.c_str(), "%Y%m%d-%H%M%S", &utc) == nullptr)
        return file.name;
    const std::time_t when = timegm(&utc);
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

std::string RunFoldersOf(const JournalText& journal) {
    if (journal.summaryCount >= 0) {
        std::string text = journal.summaryFolder;
        if (journal.summaryFolders > 1)
            text += FormatText(msg::kOtherFolders, static_cast<int>(journal.summaryFolders - 1));
        return text;
    }
    if (journal.plan.empty())
        return {};
    std::unordered_set<std::string_view> folders;
    for (const JournalEntry& entry : journal.plan)
        folders.insert(ParentOf(entry.from));
    std::string text(ParentOf(journal.plan.front().from));
    if (folders.size() > 1)
        text += FormatText(msg::kOtherFolders, static_cast<int>(folders.size() - 1));
    return text;
}

}  // namespace morvane

#include "ops/textfile/InstanceRecord.h"

#include <unistd.h>

#include <set>
#include <string_view>
#include <vector>

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "platform/Paths.h"

namespace morvane {
namespace {

constexpr std::string_view kPrefix = "instance-";
constexpr std::string_view kSuffix = ".lock";
constexpr std::size_t kRecordBytes = 1 << 20;

bool IsRecordName(std::string_view name) {
    return name.size() > kPrefix.size() + kSuffix.size() &&
           name.substr(0, kPrefix.size()) == kPrefix &&
           name.substr(name.size() - kSuffix.size()) == kSuffix;
}

}  // namespace

void InstanceRecord::Start(const std::string& folder, const std::string& tempDir) {
    folder_ = folder;
    tempDir_ = tempDir;
    if (folder.empty() || !MakeFolders(fs_, folder).Ok())
        return;
    std::vector<std::string> names;
    if (fs_.ListFolder(folder, &names).Ok()) {
        for (const std::string& name : names) {
            if (IsRecordName(name))
                RemoveLeftovers(JoinPath(folder, name));
        }
    }
    // Locked before it takes a name the look above would take for a dead instance's.
    const std::string own =
        FormatText("%s/%.*s%ld", folder.c_str(), static_cast<int>(kPrefix.size()), kPrefix.data(),
                   static_cast<long>(getpid()));
    if (!fs_.OpenLocked(own + ".new", true, &file_).Ok())
        return;
    if (!fs_.Move(own + ".new", own + std::string(kSuffix)).Ok()) {
        (void)fs_.Remove(own + ".new");
        file_.Close();
        return;
    }
    ownPath_ = own + std::string(kSuffix);
}

void InstanceRecord::RemoveLeftovers(const std::string& record) {
    LockedFile held;
    if (!fs_.OpenLocked(record, false, &held).Ok())
        return;  // its instance is alive
    std::string text;
    if (!fs_.ReadFile(record, kRecordBytes, &text).Ok())
        return;
    std::set<std::string> left;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            break;
        const std::string_view line(text.data() + at, end - at);
        at = end + 1;
        if (line.substr(0, 5) == "text ")
            left.emplace(line.substr(5));
        else if (line.substr(0, 5) == "gone ")
            left.erase(std::string(line.substr(5)));
    }
    for (const std::string& path : left) {
        // Only our own kind of file in the temporary folder, whatever the record says.
        if (path.rfind(tempDir_, 0) != 0 || path.find('/', tempDir_.size()) != std::string::npos ||
            path.find("[MORVANE]_") == std::string::npos)
            continue;
        if (fs_.Remove(path).Ok())
            log_.AppendLog(FormatText(msg::kStaleTextFileRemoved, path.c_str()));
    }
    (void)fs_.Remove(record);
}

void InstanceRecord::TextFileCreated(const std::string& path) {
    // Names of the text file never hold a line break.
    if (file_.IsOpen())
        (void)fs_.Append(file_, "text " + path + "\n", false);
}

void InstanceRecord::TextFileRemoved(const std::string& path) {
    if (file_.IsOpen())
        (void)fs_.Append(file_, "gone " + path + "\n", false);
}

void InstanceRecord::Stop() {
    if (!file_.IsOpen())
        return;
    (void)fs_.Remove(ownPath_);
    file_.Close();
}

}  // namespace morvane

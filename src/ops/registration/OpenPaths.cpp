#include "ops/registration/OpenPaths.h"

#include "formats/ListFileFormat.h"
#include "formats/ListFileReader.h"
#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/listfiles/ListFile.h"
#include "ops/registration/Registration.h"
#include "platform/FileSystem.h"

namespace morvane {

bool OpenPaths::IsListFile(const std::string& path) {
    std::string start;
    std::uint64_t size = 0;
    return fs_.ReadFileStart(path, listfile::kHeaderSize, &start, &size).Ok() &&
           listfile::HasListFileHeader(start, size);
}

void OpenPaths::Open(const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    Registration::Run run(registration_);
    std::vector<std::string> listFiles;
    std::vector<std::string> dropped;
    for (const std::string& path : paths) {
        // A dangling link is there to be renamed like any file.
        if (!fs_.Exists(path)) {
            log_.AppendLog(FormatText(msg::kNamedPathMissing, path.c_str()));
        } else if (IsListFile(path)) {
            listFiles.push_back(path);
        } else {
            dropped.push_back(path);
        }
    }
    for (const std::string& path : listFiles) {
        if (!busy_.Busy())
            return;
        listFile_.LoadListFile(path);
    }
    if (!dropped.empty() && busy_.Busy())
        registration_.OnDropFiles(dropped);
}

}  // namespace morvane

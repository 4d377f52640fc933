#pragma once
// What a running instance leaves in the temporary folder, recorded in a file of its own that
// it holds locked while it lives. A record nobody holds belongs to an instance that died, and
// the next start removes the text files it names.

#include <string>

#include "platform/FileSystem.h"

namespace morvane {

class ActivityLog;

class InstanceRecord {
public:
    InstanceRecord(FileSystem& fs, ActivityLog& log) : fs_(fs), log_(log) {}
    InstanceRecord(const InstanceRecord&) = delete;
    InstanceRecord& operator=(const InstanceRecord&) = delete;
    ~InstanceRecord() { Stop(); }

    // Removes what instances that died left in `tempDir` (ending with "/"), then starts the
    // record of this one in `folder`. Without a folder nothing is recorded.
    void Start(const std::string& folder, const std::string& tempDir);
    // The text file for the editor exists from now on / is gone.
    void TextFileCreated(const std::string& path);
    void TextFileRemoved(const std::string& path);
    // The end of a clean session: the record goes.
    void Stop();

private:
    void RemoveLeftovers(const std::string& record);

    FileSystem& fs_;
    ActivityLog& log_;
    std::string folder_;
    std::string tempDir_;
    std::string ownPath_;
    LockedFile file_;
};

}  // namespace morvane

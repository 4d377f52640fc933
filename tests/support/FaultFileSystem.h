#pragma once
// The real file system with chosen calls made to fail, for fault-injection tests.

#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace morvane::test {

class FaultFileSystem : public FileSystem {
public:
    // Each hook returns 0 to let the call through, or an errno value to fail it.
    std::function<int(const std::string& from, const std::string& to)> failMove;
    std::function<int(const std::string& path)> failListFolder;
    std::function<int(const std::string& path)> failWrite;
    std::function<int(const std::string& path)> failRemove;
    std::function<int(const std::string& path)> failRead;
    std::function<int(const std::string& path)> failMakeFolder;
    // Replaces the real answer of Find (for example to report another inode).
    std::function<void(const std::string& path, std::optional<FileInfo>& info)> adjustFind;
    // Replaces what the folder tells of renames in it (for example Unknown, as on a network).
    std::function<void(const std::string& folder, FolderRights& rights)> adjustRights;
    // Set: the rules a folder's file system is said to have.
    std::function<NameCharacters(const std::string& folder)> charactersIn;
    // Replaces what a folder's file system is said to do.
    std::function<void(const std::string& folder, MountTraits& traits)> adjustTraits;
    // Runs before every Move, after the fault check passed (to race the program).
    std::function<void(const std::string& from, const std::string& to)> beforeMove;

    int moveCalls = 0;

    // Every folder answers as on a network file system: nothing read refuses a rename, and
    // the server decides when it is made.
    void DecideRenamesOnTheirOwn() {
        adjustRights = [](const std::string&, FolderRights& rights) {
            rights.verdict = FolderRights::Verdict::Unknown;
        };
    }
    // Every folder refuses renames in it (as a read-only mount does).
    void RefuseRenames() {
        adjustRights = [](const std::string&, FolderRights& rights) {
            rights.verdict = FolderRights::Verdict::Refused;
        };
    }

    // What adjustFind makes Find answer, Exists answers too.
    bool Exists(const std::string& path) override {
        return adjustFind ? Find(path).has_value() : real_.Exists(path);
    }
    std::optional<FileInfo> Find(const std::string& path) override;
    std::optional<FileInfo> FindTarget(const std::string& path) override {
        return real_.FindTarget(path);
    }
    FsStatus ListFolder(const std::string& dir, std::vector<std::string>* names) override;
    FsStatus ListFolderInodes(const std::string& dir, std::vector<NamedInode>* entries) override;
    FsStatus Move(const std::string& from, const std::string& to) override;
    FsStatus OpenFolder(const std::string& path, const FolderId& expected,
                        FolderHandle* handle) override {
        return real_.OpenFolder(path, expected, handle);
    }
    FsStatus MoveWithin(const FolderHandle& folder, const std::string& from,
                        const std::string& to) override;
    FsStatus Remove(const std::string& path) override;
    FsStatus ReadFile(const std::string& path, std::uint64_t maxBytes,
                      std::string* content) override;
    FsStatus WriteFileAtomic(const std::string& path, std::string_view content) override;
    FsStatus CreateExclusive(const std::string& path, std::string_view content) override;
    FsStatus MakeFolder(const std::string& path) override;
    FsStatus CheckAccess(const std::string& path, AccessMode mode) override {
        return real_.CheckAccess(path, mode);
    }
    FsStatus ReadLink(const std::string& path, std::string* target) override {
        return real_.ReadLink(path, target);
    }
    std::size_t NameMax(const std::string& folder) override { return real_.NameMax(folder); }
    NameCharacters CharactersIn(const std::string& folder) override {
        return charactersIn ? charactersIn(folder) : TraitsOf(folder).characters;
    }
    MountTraits TraitsOf(const std::string& folder) override {
        MountTraits traits = real_.TraitsOf(folder);
        if (adjustTraits)
            adjustTraits(folder, traits);
        return traits;
    }
    FsStatus OpenLocked(const std::string& path, bool create, LockedFile* file) override;
    FsStatus Append(LockedFile& file, std::string_view data, bool sync) override;
    FsStatus SyncFolder(const std::string& path) override { return real_.SyncFolder(path); }
    FolderRights RightsIn(const std::string& folder) override {
        FolderRights rights = real_.RightsIn(folder);
        if (adjustRights)
            adjustRights(folder, rights);
        return rights;
    }

private:
    // The count, the fault check and the race hook of one move: 0 or the errno to fail with.
    int MoveHooks(const std::string& from, const std::string& to);

    FileSystem& real_ = RealFileSystem();
};

}  // namespace morvane::test

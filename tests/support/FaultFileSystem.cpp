#include "support/FaultFileSystem.h"

namespace morvane::test {

void FaultFileSystem::InventInodes() {
    adjustTraits = [](const std::string&, MountTraits& traits) { traits.stableInodes = false; };
    adjustFind = [](const std::string& path, std::optional<FileInfo>& info) {
        if (!info)
            return;
        info->inode = std::hash<std::string>()(path) | 1;
        info->mtimeNsec = 0;
        info->birthSec = info->birthNsec = 0;
    };
}

std::optional<FileInfo> FaultFileSystem::Find(const std::string& path) {
    auto info = real_.Find(path);
    if (adjustFind)
        adjustFind(path, info);
    return info;
}

FsStatus FaultFileSystem::ListFolder(const std::string& dir, std::vector<std::string>* names) {
    if (failListFolder) {
        if (const int e = failListFolder(dir); e != 0) {
            names->clear();
            return FsStatus::Failed(FsOp::ListFolder, e);
        }
    }
    return real_.ListFolder(dir, names);
}

FsStatus FaultFileSystem::ListFolderInodes(const std::string& dir,
                                           std::vector<NamedInode>* entries) {
    if (failListFolder) {
        if (const int e = failListFolder(dir); e != 0) {
            entries->clear();
            return FsStatus::Failed(FsOp::ListFolder, e);
        }
    }
    return real_.ListFolderInodes(dir, entries);
}

int FaultFileSystem::MoveHooks(const std::string& from, const std::string& to) {
    ++moveCalls;
    if (failMove) {
        if (const int e = failMove(from, to); e != 0)
            return e;
    }
    if (beforeMove)
        beforeMove(from, to);
    return 0;
}

FsStatus FaultFileSystem::Move(const std::string& from, const std::string& to) {
    if (const int e = MoveHooks(from, to); e != 0)
        return FsStatus::Failed(FsOp::Move, e);
    return real_.Move(from, to);
}

FsStatus FaultFileSystem::MoveWithin(const FolderHandle& folder, const std::string& from,
                                     const std::string& to) {
    // The hooks see whole paths, as for Move.
    if (const int e = MoveHooks(folder.Path() + "/" + from, folder.Path() + "/" + to); e != 0)
        return FsStatus::Failed(FsOp::Move, e);
    return real_.MoveWithin(folder, from, to);
}

FsStatus FaultFileSystem::Remove(const std::string& path) {
    if (failRemove) {
        if (const int e = failRemove(path); e != 0)
            return FsStatus::Failed(FsOp::Remove, e);
    }
    return real_.Remove(path);
}

FsStatus FaultFileSystem::ReadFile(const std::string& path, std::uint64_t maxBytes,
                                   std::string* content) {
    if (failRead) {
        if (const int e = failRead(path); e != 0) {
            content->clear();
            return FsStatus::Failed(FsOp::Read, e);
        }
    }
    return real_.ReadFile(path, maxBytes, content);
}

FsStatus FaultFileSystem::ReadFileStart(const std::string& path, std::size_t maxBytes,
                                        std::string* content, std::uint64_t* fileSize) {
    ++readStartCalls;
    if (const int e = failRead ? failRead(path) : 0; e != 0) {
        content->clear();
        return FsStatus::Failed(FsOp::Read, e);
    }
    return real_.ReadFileStart(path, maxBytes, content, fileSize);
}

FsStatus FaultFileSystem::ReadFileEnd(const std::string& path, std::size_t maxBytes,
                                      std::string* content, std::uint64_t* fileSize) {
    ++readEndCalls;
    if (const int e = failRead ? failRead(path) : 0; e != 0) {
        content->clear();
        return FsStatus::Failed(FsOp::Read, e);
    }
    return real_.ReadFileEnd(path, maxBytes, content, fileSize);
}

FsStatus FaultFileSystem::WriteFileAtomic(const std::string& path, std::string_view content) {
    if (failWrite) {
        if (const int e = failWrite(path); e != 0)
            return FsStatus::Failed(FsOp::Write, e);
    }
    return real_.WriteFileAtomic(path, content);
}

FsStatus FaultFileSystem::OpenLocked(const std::string& path, bool create, LockedFile* file) {
    if (failWrite && create) {
        if (const int e = failWrite(path); e != 0)
            return FsStatus::Failed(FsOp::Create, e);
    }
    return real_.OpenLocked(path, create, file);
}

FsStatus FaultFileSystem::Append(LockedFile& file, std::string_view data, bool sync) {
    if (failWrite) {
        if (const int e = failWrite(file.Path()); e != 0)
            return FsStatus::Failed(FsOp::Write, e);
    }
    return real_.Append(file, data, sync);
}

FsStatus FaultFileSystem::CreateExclusive(const std::string& path, std::string_view content) {
    if (failWrite) {
        if (const int e = failWrite(path); e != 0)
            return FsStatus::Failed(FsOp::Create, e);
    }
    return real_.CreateExclusive(path, content);
}

FsStatus FaultFileSystem::MakeFolder(const std::string& path) {
    if (failMakeFolder) {
        if (const int e = failMakeFolder(path); e != 0)
            return FsStatus::Failed(FsOp::MakeFolder, e);
    }
    return real_.MakeFolder(path);
}

}  // namespace morvane::test

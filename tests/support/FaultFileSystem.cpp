#include "support/FaultFileSystem.h"

namespace morvane::test {

std::optional<FileInfo> FaultFileSystem::Find(const std::string& path) {
    auto info = real_.Find(path);
    if (adjustFind)
        adjustFind(path, info);
    return info;
}

bool FaultFileSystem::ListFolder(const std::string& dir, std::vector<std::string>* names) {
    if (failListFolder && failListFolder(dir) != 0) {
        names->clear();
        return false;
    }
    return real_.ListFolder(dir, names);
}

int FaultFileSystem::Move(const std::string& from, const std::string& to) {
    ++moveCalls;
    if (failMove) {
        if (const int e = failMove(from, to); e != 0)
            return e;
    }
    if (beforeMove)
        beforeMove(from, to);
    return real_.Move(from, to);
}

int FaultFileSystem::Remove(const std::string& path) {
    if (failRemove) {
        if (const int e = failRemove(path); e != 0)
            return e;
    }
    return real_.Remove(path);
}

bool FaultFileSystem::ReadFile(const std::string& path, std::string* content) {
    if (failRead && failRead(path) != 0) {
        content->clear();
        return false;
    }
    return real_.ReadFile(path, content);
}

int FaultFileSystem::WriteFileAtomic(const std::string& path, std::string_view content) {
    if (failWrite) {
        if (const int e = failWrite(path); e != 0)
            return e;
    }
    return real_.WriteFileAtomic(path, content);
}

int FaultFileSystem::CreateExclusive(const std::string& path, std::string_view content) {
    if (failWrite) {
        if (const int e = failWrite(path); e != 0)
            return e;
    }
    return real_.CreateExclusive(path, content);
}

}  // namespace morvane::test

#pragma once
// The record behind one list row: what the logic needs beyond the display texts.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/CaseFold.h"
#include "platform/FolderHandle.h"

namespace morvane {

enum ErrorBit : std::uint32_t {
    ErrBlank = 0x01,        // the new name is empty
    ErrDuplicate = 0x02,    // another row has the same new path
    ErrForbidden = 0x04,    // forbidden character in the new name
    ErrExists = 0x08,       // an unregistered file is at the new path
    ErrSwapBlocked = 0x10,  // the row holding the new path cannot make room
    ErrRenameTest = 0x20,   // never renamed: protected folder, failed rename test, drive row
    ErrTooLong = 0x40,      // the new name is longer than the folder's file system takes
};

// "空白 | 重複 | …" for the set bits, in bit order; empty for 0.
std::string ErrorCellText(std::uint32_t errors);

struct FileEntry;

// A place in a chain of a path index. The sentinels at both ends of a chain are bare
// ChainLinks; the tail is the one whose next is empty.
struct ChainLink {
    ChainLink* prev = nullptr;
    ChainLink* next = nullptr;
};

// An entry's place in a chain. The index keeps these packed together, apart from the entries,
// so a walk along a chain stays in a few megabytes of memory and touches an entry only where
// the key's full hash (before it is reduced to a bucket) matches.
struct alignas(32) IndexLink : ChainLink {
    FileEntry* entry = nullptr;
    std::uint32_t hash = 0;
};

struct FileEntry {
    FileEntry() = default;
    FileEntry(const FileEntry&) = delete;
    FileEntry& operator=(const FileEntry&) = delete;

    // Set while the entry is in the index's chain; owned by the index.
    IndexLink* currentLink = nullptr;  // chain of currentKey in the current-path index
    IndexLink* newLink = nullptr;      // chain of the new key in the new-path index
    std::int32_t row = 0;              // always the row's current position
    std::uint32_t errors = 0;
    // Scratch of one validation walk: the walk's number (even) plus 1 when it found the row
    // swap-blocked.
    std::uint32_t walkMark = 0;
    std::uint16_t dirLength = 0;
    // The row's folder lies on a case-insensitive file system: its paths are keyed under case
    // folding (see MakePathKey). Set when the row is made, never changed.
    bool foldsCase = false;
    std::string currentKey;  // key of the path as registered; never changes
    // The folder the row's file was registered in: moves happen only in that folder.
    FolderId folderId;

    // Directory + new name as typed. Kept only while it differs from the current path, and
    // behind a pointer, since most rows of a long list are never renamed; the key is the path
    // (see AssignPathKey), so the new key is the same string.
    const std::string& NewPath() const { return newPath_ ? *newPath_ : currentKey; }
    const std::string& NewKey() const { return NewPath(); }
    bool Moves() const { return newPath_ != nullptr; }

    // Gives the entry the new path directory + name, reusing its storage.
    void AssignNewPath(std::string_view directory, std::string_view name) {
        if (directory.size() + name.size() == currentKey.size() &&
            std::string_view(currentKey).starts_with(directory) &&
            std::string_view(currentKey).ends_with(name)) {
            newPath_.reset();
            return;
        }
        if (!newPath_) {
            newPath_ = std::make_unique<std::string>();
        } else if (Inside(*newPath_, directory) || Inside(*newPath_, name)) {
            // A view of the new path itself (a row's new-name cell is read from it).
            *newPath_ = std::string(directory).append(name);
            return;
        }
        newPath_->assign(directory).append(name);
    }

private:
    static bool Inside(const std::string& text, std::string_view view) {
        const std::less_equal<const char*> atOrBefore;
        return !view.empty() && atOrBefore(text.data(), view.data()) &&
               atOrBefore(view.data(), text.data() + text.size());
    }

    std::unique_ptr<std::string> newPath_;
};

// The key under which a path is indexed and compared, written into `key` (reusing its
// storage). Most Linux file systems are case-sensitive, so the key is the path itself; this is
// the one place that decides, and FileEntry keeps one string for its new path and key because
// of it. In a folder of a case-insensitive file system (a row that foldsCase) the key is the
// path under Unicode case folding: the path index hashes the folded path and compares such a
// row's paths with SameKey, so the folded text is never kept.
inline void AssignPathKey(std::string& key, std::string_view path) {
    key.assign(path);
}

inline std::string MakePathKey(std::string_view path, bool foldsCase = false) {
    if (foldsCase)
        return FoldCase(path);
    std::string key;
    AssignPathKey(key, path);
    return key;
}

// True when both paths are one key in a folder that does or does not fold case.
inline bool SameKey(std::string_view a, std::string_view b, bool foldsCase) {
    return foldsCase ? SameUnderCaseFolding(a, b) : a == b;
}

}  // namespace morvane

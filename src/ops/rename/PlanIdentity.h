#pragma once
// What a journal records to know its files again, and the knowing.
//
// A file system is known again by its identity (what survives a re-plug or a remount) where
// the journal and the mount both tell one, else by its device number. A file is known by its
// inode number where the file system keeps those stable; elsewhere (FUSE drivers that make up
// inode numbers) by its path, its kind and, for anything but a folder, its size and
// modification time, which a rename leaves alone.
//
// A new file may take the inode number (or the name) of one that was deleted. Its birth time
// tells it apart, where the file system gives one both when the plan was written and now.
// Without a birth time the size and modification time stand in: a file changed since the run
// is then not told from a new one, and is left alone, which costs a rename, not a file. The
// change time is no help: every rename sets it, so it tells our own moved files no better
// from a new file than the modification time does. Folders have no such check: the run
// itself sets their modification time when it renames what is inside them.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "formats/JournalFormat.h"
#include "platform/FileSystem.h"

namespace morvane {

FileMark MarkOf(const FileInfo& info);

enum class Recognition {
    Ours,
    Other,
    // On the entry's file system with its inode number, but not the file recorded: a new one
    // that took the number.
    NotOurs,
};

class PlanIdentity {
public:
    PlanIdentity(FileSystem& fs, const std::vector<JournalVolume>& volumes)
        : fs_(fs), volumes_(volumes) {}

    // Whether `info`, found at `path`, is the entry's file.
    Recognition Recognize(const JournalEntry& entry, const std::string& path, const FileInfo& info);
    // The entry's inode number names its file alone; else only its path does.
    bool ByInode(const JournalEntry& entry) const {
        return entry.volume >= volumes_.size() || volumes_[entry.volume].stableInodes;
    }

private:
    bool SameVolume(const JournalVolume& volume, const std::string& path, const FileInfo& info);

    FileSystem& fs_;
    const std::vector<JournalVolume>& volumes_;
    // The identity of each device seen, asked of its mount once.
    std::unordered_map<std::uint64_t, std::string> identities_;
};

}  // namespace morvane

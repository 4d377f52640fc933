#pragma once
// A fixed hash table of 65535 buckets over the rows, keyed by one of the entry's two keys.
// Invariant: every entry of a list row is in exactly one chain of each index, the chain of
// PathHash(its key); each chain runs head sentinel -> entries (newest first) -> tail sentinel.

#include <cstdint>
#include <string_view>
#include <vector>

#include "list/FileEntry.h"

namespace morvane {

constexpr std::uint32_t kBucketCount = 65535;

// h = h * 137 + unit over the UTF-16 units of the key, 32-bit wrapping; not yet reduced.
std::uint32_t FullPathHash(std::string_view key);
// The bucket of a key: FullPathHash modulo 65535.
inline std::uint32_t PathHash(std::string_view key) {
    return FullPathHash(key) % kBucketCount;
}

class PathIndex {
public:
    enum class Key { Current, New };

    explicit PathIndex(Key which);
    PathIndex(const PathIndex&) = delete;
    PathIndex& operator=(const PathIndex&) = delete;

    // Links the entry at the front of the chain of its key.
    void Insert(FileEntry* entry);
    // Takes the entry out of its chain; an entry in no chain is left alone.
    void Unlink(FileEntry* entry);
    // The first entry (newest) with exactly this key, skipping `except`.
    FileEntry* Find(std::string_view key, const FileEntry* except = nullptr) const {
        return Find(key, FullPathHash(key), except);
    }
    // The same for a key whose FullPathHash the caller knows.
    FileEntry* Find(std::string_view key, std::uint32_t fullHash,
                    const FileEntry* except = nullptr) const;
    // Calls fn(FileEntry*) for every entry with exactly this key, newest first; fn may change
    // bits but must not move entries of this chain. Stops early when fn returns false.
    template <class Fn>
    void ForEach(std::string_view key, Fn&& fn) const {
        ForEach(key, FullPathHash(key), fn);
    }
    template <class Fn>
    void ForEach(std::string_view key, std::uint32_t fullHash, Fn&& fn) const;
    // FullPathHash of the entry's key for this index: kept in its link while it is linked.
    std::uint32_t HashOf(const FileEntry* entry) const;
    // Empties every chain without touching the entries.
    void Clear();
    // True when every link of every chain points back correctly and each entry sits in the
    // chain of its key; for tests.
    bool IsConsistent() const;
    std::size_t CountEntries() const;

private:
    IndexLink& LinkOf(FileEntry* entry) const;
    const IndexLink& LinkOf(const FileEntry* entry) const;
    FileEntry* EntryOf(const IndexLink* link) const {
        return reinterpret_cast<FileEntry*>(reinterpret_cast<char*>(const_cast<IndexLink*>(link)) -
                                            linkOffset_);
    }
    const std::string& KeyOf(const FileEntry* entry) const;

    // Head and tail of a chain share a cache line (two buckets to a line): an insert into an
    // empty chain touches one, and the table stays half the size.
    struct alignas(32) Bucket {
        IndexLink head;
        IndexLink tail;
    };

    Key which_;
    std::ptrdiff_t linkOffset_;  // where the link of this index sits inside a FileEntry
    std::vector<Bucket> buckets_;
};

template <class Fn>
void PathIndex::ForEach(std::string_view key, std::uint32_t fullHash, Fn&& fn) const {
    const IndexLink* link = buckets_[fullHash % kBucketCount].head.next;
    while (link->next != nullptr) {
        const IndexLink* next = link->next;
        if (link->hash == fullHash) {
            FileEntry* entry = EntryOf(link);
            if (KeyOf(entry) == key) {
                if (!fn(entry))
                    return;
            }
        }
        link = next;
    }
}

}  // namespace morvane

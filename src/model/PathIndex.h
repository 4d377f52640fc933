#pragma once
// A hash table over the rows, keyed by one of the entry's two keys. It doubles its buckets
// when the entries outnumber them and starts small again when it is emptied, so chains stay
// about one entry long at any size.
// Invariant: every entry of a list row is in exactly one chain of each index, the chain of the
// bucket of its full hash; each chain runs head sentinel -> entries (newest first) -> tail
// sentinel. Entries with the same key share a chain at every size and keep their order.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/FileEntry.h"

namespace morvane {

// h = h * 137 + unit over the UTF-16 units of the key, 32-bit wrapping.
std::uint32_t FullPathHash(std::string_view key);
// FullPathHash of the path's key (see MakePathKey): of the folded path where the folder folds
// case.
std::uint32_t PathKeyHash(std::string_view path, bool foldsCase);

class PathIndex {
public:
    enum class Key { Current, New };

    // The fewest buckets an index has; an empty index has this many.
    static constexpr std::uint32_t kMinBuckets = 1024;

    explicit PathIndex(Key which);
    PathIndex(const PathIndex&) = delete;
    PathIndex& operator=(const PathIndex&) = delete;
    ~PathIndex();

    // Links the entry at the front of the chain of its key.
    void Insert(FileEntry* entry) { Insert(entry, KeyHashOf(entry)); }
    // The same for a caller that knows PathKeyHash of the key already.
    void Insert(FileEntry* entry, std::uint32_t fullHash);
    // Takes the entry out of its chain; an entry in no chain is left alone.
    void Unlink(FileEntry* entry);

    // An entry's key matches a path when they are one key under the entry's own rule: exactly,
    // or under case folding for a row of a case-insensitive folder. The lookups by path alone
    // find both kinds; rows that fold case cost a second walk only while there are some.

    // The first entry (newest) whose key matches the path, skipping `except`.
    FileEntry* Find(std::string_view path, const FileEntry* except = nullptr) const {
        return FindPath(path, FullPathHash(path), except);
    }
    // The same for a path whose FullPathHash the caller knows.
    FileEntry* FindPath(std::string_view path, std::uint32_t pathHash,
                        const FileEntry* except = nullptr) const;
    // Calls fn(FileEntry*) for every entry whose key matches the path, newest first; fn may
    // change bits but must not move entries of this chain. Stops early when fn returns false.
    template <class Fn>
    void ForEach(std::string_view path, Fn&& fn) const;

    // The walks of one chain, for a key and hash taken from an entry of the same folder
    // (HashOf): the first entry (newest) matching the key, and every one.
    FileEntry* Find(std::string_view key, std::uint32_t fullHash,
                    const FileEntry* except = nullptr) const;
    template <class Fn>
    void ForEach(std::string_view key, std::uint32_t fullHash, Fn&& fn) const {
        WalkChain(
            fullHash, [&](const FileEntry* e) { return KeyMatches(e, key); }, fn);
    }
    // PathKeyHash of the entry's key for this index: kept in its link while it is linked.
    std::uint32_t HashOf(const FileEntry* entry) const;
    // Makes room for this many entries at once, so that adding them grows nothing.
    void Reserve(std::size_t entries);
    std::size_t BucketCount() const { return buckets_.size(); }

    // Walks over many keys wait on memory. Step `step` (0, 1, 2) of loading the chain of a hash
    // ahead of its walk: the bucket, then the first link, then the second. Each step reads
    // what the one before loaded, so the steps belong several walks apart.
    void Prefetch(std::uint32_t fullHash, int step) const {
        const Bucket& bucket = BucketOf(fullHash);
        if (step == 0) {
            __builtin_prefetch(&bucket);
        } else if (step == 1) {
            __builtin_prefetch(bucket.head.next);
        } else if (const ChainLink* first = bucket.head.next; first->next != nullptr) {
            __builtin_prefetch(first->next);
        }
    }
    // The neighbours that unlinking the entry writes to.
    void PrefetchNeighbours(const FileEntry* entry) const {
        if (const IndexLink* link = LinkOf(entry)) {
            __builtin_prefetch(link->prev, 1);
            __builtin_prefetch(link->next, 1);
        }
    }

    // True when every link of every chain points back correctly and each entry sits in the
    // chain of its key; for tests.
    bool IsConsistent() const;
    std::size_t CountEntries() const;

private:
    IndexLink*& LinkOf(FileEntry* entry) const {
        return which_ == Key::Current ? entry->currentLink : entry->newLink;
    }
    const IndexLink* LinkOf(const FileEntry* entry) const {
        return which_ == Key::Current ? entry->currentLink : entry->newLink;
    }
    const std::string& KeyOf(const FileEntry* entry) const {
        return which_ == Key::Current ? entry->currentKey : entry->NewKey();
    }
    std::uint32_t KeyHashOf(const FileEntry* entry) const {
        return PathKeyHash(KeyOf(entry), entry->foldsCase);
    }
    bool KeyMatches(const FileEntry* entry, std::string_view key) const {
        return SameKey(KeyOf(entry), key, entry->foldsCase);
    }
    // Calls fn for the entries of the chain of fullHash that `match` takes; false when fn
    // stopped the walk.
    template <class Match, class Fn>
    bool WalkChain(std::uint32_t fullHash, Match&& match, Fn&& fn) const;
    // ForEach of a path whose FullPathHash is pathHash.
    template <class Fn>
    void ForEachOfPath(std::string_view path, std::uint32_t pathHash, Fn&& fn) const;
    IndexLink* NewLink();
    void FreeLink(IndexLink* link);
    // The keys' hash multiplies by 137 and so keeps its low bits poor: the bucket is taken from
    // the high bits of a multiplicative mix instead.
    std::uint32_t BucketIndex(std::uint32_t fullHash) const {
        return static_cast<std::uint32_t>((fullHash * 0x9E3779B97F4A7C15ull) >> shift_);
    }
    // Puts the link at the front of the chain of its hash.
    void LinkAtFront(IndexLink* link);
    // Relinks every entry into a table of `count` buckets (a power of two).
    void Rebucket(std::size_t count);

    // A bucket is the head of its chain; all chains end in the index's one tail, whose prev
    // the links before it write to and nobody reads. Four buckets to a cache line.
    struct alignas(16) Bucket {
        ChainLink head;
    };
    const Bucket& BucketOf(std::uint32_t fullHash) const { return buckets_[BucketIndex(fullHash)]; }
    Bucket& BucketOf(std::uint32_t fullHash) { return buckets_[BucketIndex(fullHash)]; }

    Key which_;
    ChainLink tail_;
    std::vector<Bucket> buckets_;
    int shift_ = 64;  // 64 - log2(bucket count)
    // The links live in blocks of this index, reused through a free list threaded through
    // their `next`; all blocks go once the index is empty again.
    std::vector<std::unique_ptr<IndexLink[]>> blocks_;
    std::size_t usedInLastBlock_ = 0;
    IndexLink* freeLinks_ = nullptr;
    std::size_t linkedCount_ = 0;
    std::size_t foldingCount_ = 0;      // linked entries that fold case
    std::vector<IndexLink*> relinked_;  // scratch of Rebucket
};

template <class Match, class Fn>
bool PathIndex::WalkChain(std::uint32_t fullHash, Match&& match, Fn&& fn) const {
    const ChainLink* link = BucketOf(fullHash).head.next;
    while (link->next != nullptr) {
        // Only the tail has no next, so this is an entry's link.
        const auto* entryLink = static_cast<const IndexLink*>(link);
        const ChainLink* next = link->next;
        if (entryLink->hash == fullHash && match(entryLink->entry)) {
            if (!fn(entryLink->entry))
                return false;
        }
        link = next;
    }
    return true;
}

template <class Fn>
void PathIndex::ForEach(std::string_view path, Fn&& fn) const {
    ForEachOfPath(path, FullPathHash(path), fn);
}

template <class Fn>
void PathIndex::ForEachOfPath(std::string_view path, std::uint32_t pathHash, Fn&& fn) const {
    if (foldingCount_ == 0) {
        ForEach(path, pathHash, fn);
        return;
    }
    const std::string folded = FoldCase(path);
    if (folded == path) {
        // Both kinds of row lie in the one chain.
        ForEach(path, pathHash, fn);
        return;
    }
    const bool goOn = WalkChain(
        pathHash, [&](const FileEntry* e) { return !e->foldsCase && KeyOf(e) == path; }, fn);
    if (goOn) {
        WalkChain(
            FullPathHash(folded),
            [&](const FileEntry* e) {
                return e->foldsCase && SameUnderCaseFolding(KeyOf(e), path);
            },
            fn);
    }
}

}  // namespace morvane

#include "model/PathIndex.h"

#include <array>
#include <cstring>

#include "platform/Utf16.h"

namespace morvane {
namespace {

constexpr std::size_t kLinksPerBlock = 4096;

int Log2(std::size_t powerOfTwo) {
    return __builtin_ctzll(powerOfTwo);
}

}  // namespace

std::uint32_t FullPathHash(std::string_view key) {
    // Powers of 137 modulo 2^32: eight ASCII bytes (eight units) fold in at once, as
    // h * 137^8 + b0 * 137^7 + ... + b7, which is what eight single steps give.
    constexpr auto kPowers = [] {
        std::array<std::uint32_t, 9> p{};
        p[0] = 1;
        for (std::size_t i = 1; i < p.size(); ++i)
            p[i] = p[i - 1] * 137u;
        return p;
    }();
    std::uint32_t h = 0;
    std::size_t i = 0;
    while (i < key.size()) {
        std::uint64_t word = 0;
        if (i + 8 <= key.size()) {
            std::memcpy(&word, key.data() + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                const auto* b = reinterpret_cast<const unsigned char*>(key.data() + i);
                h = h * kPowers[8] + b[0] * kPowers[7] + b[1] * kPowers[6] + b[2] * kPowers[5] +
                    b[3] * kPowers[4] + b[4] * kPowers[3] + b[5] * kPowers[2] + b[6] * kPowers[1] +
                    b[7];
                i += 8;
                continue;
            }
        }
        // One character, whatever it is; an ASCII byte needs no decoding.
        if (const auto byte = static_cast<unsigned char>(key[i]); byte < 0x80) {
            h = h * 137u + byte;
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        i += detail::DecodeUtf8(key, i, &cp);
        detail::ForEachUnitOf(cp, [&](std::uint16_t unit) { h = h * 137u + unit; });
    }
    return h;
}

std::uint32_t PathKeyHash(std::string_view path, bool foldsCase) {
    return foldsCase ? FullPathHash(FoldCase(path)) : FullPathHash(path);
}

PathIndex::PathIndex(Key which) : which_(which) {
    Rebucket(kMinBuckets);
}

void PathIndex::Rebucket(std::size_t count) {
    std::vector<Bucket> old(count);
    old.swap(buckets_);
    shift_ = 64 - Log2(count);
    for (Bucket& b : buckets_) {
        b.head.prev = nullptr;
        b.head.next = &tail_;
    }
    // Each old chain from its oldest entry to its newest, each put in front of its new chain:
    // entries of one key come from one old chain and so keep their order, newest first.
    for (Bucket& from : old) {
        relinked_.clear();
        for (ChainLink* link = from.head.next; link != &tail_; link = link->next)
            relinked_.push_back(static_cast<IndexLink*>(link));
        for (auto it = relinked_.rbegin(); it != relinked_.rend(); ++it)
            LinkAtFront(*it);
    }
}

void PathIndex::LinkAtFront(IndexLink* link) {
    ChainLink& head = BucketOf(link->hash).head;
    link->prev = &head;
    link->next = head.next;
    head.next->prev = link;
    head.next = link;
}

void PathIndex::Reserve(std::size_t entries) {
    std::size_t count = buckets_.size();
    while (count < entries)
        count *= 2;
    if (count != buckets_.size())
        Rebucket(count);
}

PathIndex::~PathIndex() = default;

IndexLink* PathIndex::NewLink() {
    if (freeLinks_ != nullptr) {
        IndexLink* link = freeLinks_;
        freeLinks_ = static_cast<IndexLink*>(link->next);
        return link;
    }
    if (blocks_.empty() || usedInLastBlock_ == kLinksPerBlock) {
        blocks_.push_back(std::make_unique<IndexLink[]>(kLinksPerBlock));
        usedInLastBlock_ = 0;
    }
    return &blocks_.back()[usedInLastBlock_++];
}

void PathIndex::FreeLink(IndexLink* link) {
    if (--linkedCount_ == 0) {
        // The list was emptied: give the memory back instead of keeping a free list of it.
        blocks_.clear();
        usedInLastBlock_ = 0;
        freeLinks_ = nullptr;
        if (buckets_.size() != kMinBuckets)
            Rebucket(kMinBuckets);
        return;
    }
    link->entry = nullptr;
    link->prev = nullptr;
    link->next = freeLinks_;
    freeLinks_ = link;
}

std::uint32_t PathIndex::HashOf(const FileEntry* entry) const {
    const IndexLink* link = LinkOf(entry);
    return link != nullptr ? link->hash : KeyHashOf(entry);
}

void PathIndex::Insert(FileEntry* entry, std::uint32_t fullHash) {
    IndexLink*& slot = LinkOf(entry);
    if (slot != nullptr)
        Unlink(entry);
    // Keep the load at most one: a chain is then one or two links, at any size.
    if (linkedCount_ == buckets_.size())
        Rebucket(buckets_.size() * 2);
    IndexLink* link = NewLink();
    ++linkedCount_;
    if (entry->foldsCase)
        ++foldingCount_;
    link->entry = entry;
    link->hash = fullHash;
    LinkAtFront(link);
    slot = link;
}

void PathIndex::Unlink(FileEntry* entry) {
    IndexLink*& slot = LinkOf(entry);
    IndexLink* link = slot;
    if (link == nullptr)
        return;
    link->prev->next = link->next;
    link->next->prev = link->prev;
    slot = nullptr;
    if (entry->foldsCase)
        --foldingCount_;
    FreeLink(link);
}

FileEntry* PathIndex::Find(std::string_view key, std::uint32_t fullHash,
                           const FileEntry* except) const {
    FileEntry* found = nullptr;
    ForEach(key, fullHash, [&](FileEntry* e) {
        if (e == except)
            return true;
        found = e;
        return false;
    });
    return found;
}

FileEntry* PathIndex::FindPath(std::string_view path, std::uint32_t pathHash,
                               const FileEntry* except) const {
    FileEntry* found = nullptr;
    ForEachOfPath(path, pathHash, [&](FileEntry* e) {
        if (e == except)
            return true;
        found = e;
        return false;
    });
    return found;
}

bool PathIndex::IsConsistent() const {
    for (std::uint32_t b = 0; b < buckets_.size(); ++b) {
        const ChainLink* link = &buckets_[b].head;
        while (link != &tail_) {
            const ChainLink* next = link->next;
            if (next == nullptr || (next != &tail_ && next->prev != link))
                return false;
            if (next != &tail_) {
                const auto* entryLink = static_cast<const IndexLink*>(next);
                const FileEntry* entry = entryLink->entry;
                if (entry == nullptr || LinkOf(entry) != entryLink ||
                    entryLink->hash != KeyHashOf(entry) || BucketIndex(entryLink->hash) != b)
                    return false;
            }
            link = next;
        }
    }
    return tail_.next == nullptr && CountEntries() == linkedCount_;
}

std::size_t PathIndex::CountEntries() const {
    std::size_t n = 0;
    for (const Bucket& b : buckets_) {
        for (const ChainLink* l = b.head.next; l->next != nullptr; l = l->next)
            ++n;
    }
    return n;
}

}  // namespace morvane

#include "list/PathIndex.h"

#include "platform/Utf16.h"

namespace morvane {

std::uint32_t FullPathHash(std::string_view key) {
    std::uint32_t h = 0;
    ForEachUtf16Unit(key, [&](std::uint16_t unit) { h = h * 137u + unit; });
    return h;
}

namespace {

std::ptrdiff_t OffsetOfLink(PathIndex::Key which) {
    static const FileEntry probe;
    const auto* base = reinterpret_cast<const char*>(&probe);
    const auto* link = reinterpret_cast<const char*>(
        which == PathIndex::Key::Current ? &probe.currentLink : &probe.newLink);
    return link - base;
}

}  // namespace

PathIndex::PathIndex(Key which)
    : which_(which), linkOffset_(OffsetOfLink(which)), buckets_(kBucketCount) {
    Clear();
}

void PathIndex::Clear() {
    for (Bucket& b : buckets_) {
        b.head.prev = nullptr;
        b.head.next = &b.tail;
        b.tail.prev = &b.head;
        b.tail.next = nullptr;
    }
}

IndexLink& PathIndex::LinkOf(FileEntry* entry) const {
    return which_ == Key::Current ? entry->currentLink : entry->newLink;
}

const IndexLink& PathIndex::LinkOf(const FileEntry* entry) const {
    return which_ == Key::Current ? entry->currentLink : entry->newLink;
}

std::uint32_t PathIndex::HashOf(const FileEntry* entry) const {
    const IndexLink& link = LinkOf(entry);
    return link.prev != nullptr ? link.hash : FullPathHash(KeyOf(entry));
}

const std::string& PathIndex::KeyOf(const FileEntry* entry) const {
    return which_ == Key::Current ? entry->currentKey : entry->newKey;
}

void PathIndex::Insert(FileEntry* entry) {
    IndexLink& link = LinkOf(entry);
    link.hash = FullPathHash(KeyOf(entry));
    IndexLink& head = buckets_[link.hash % kBucketCount].head;
    link.prev = &head;
    link.next = head.next;
    head.next->prev = &link;
    head.next = &link;
}

void PathIndex::Unlink(FileEntry* entry) {
    IndexLink& link = LinkOf(entry);
    if (link.prev == nullptr || link.next == nullptr)
        return;
    link.prev->next = link.next;
    link.next->prev = link.prev;
    link.prev = nullptr;
    link.next = nullptr;
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

bool PathIndex::IsConsistent() const {
    for (std::uint32_t b = 0; b < kBucketCount; ++b) {
        const Bucket& bucket = buckets_[b];
        const IndexLink* link = &bucket.head;
        while (link != &bucket.tail) {
            const IndexLink* next = link->next;
            if (next == nullptr || next->prev != link)
                return false;
            if (next->next != nullptr && (next->hash != FullPathHash(KeyOf(EntryOf(next))) ||
                                          next->hash % kBucketCount != b))
                return false;
            link = next;
        }
        if (bucket.tail.next != nullptr)
            return false;
    }
    return true;
}

std::size_t PathIndex::CountEntries() const {
    std::size_t n = 0;
    for (const Bucket& b : buckets_) {
        for (const IndexLink* l = b.head.next; l->next != nullptr; l = l->next)
            ++n;
    }
    return n;
}

}  // namespace morvane

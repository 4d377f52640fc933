#include "model/RowCells.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace morvane {
namespace {

// A block larger than this is given back when its texts shrink to a quarter of it, so a
// long directory replaced by a short one does not keep its room.
constexpr std::size_t kShrinkAbove = 1024;

}  // namespace

RowCells& RowCells::operator=(RowCells&& other) noexcept {
    if (this != &other) {
        Clear();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

RowCells::Block* RowCells::NewBlock(std::size_t textBytes) {
    // Requests of 16n - 8 bytes fill malloc's 16-byte chunks (8 bytes of header) exactly, so
    // the rounding is room the row gets for free.
    const std::size_t bytes = (sizeof(Block) + textBytes + 8 + 15) / 16 * 16 - 8;
    Block* block = new (::operator new(bytes)) Block();
    block->capacity = static_cast<std::uint32_t>(bytes - sizeof(Block));
    return block;
}

void RowCells::FreeBlock(Block* block) {
    ::operator delete(block);
}

void RowCells::Clear() {
    FreeBlock(block_);
    block_ = nullptr;
}

bool RowCells::Holds(std::string_view text) const {
    if (block_ == nullptr || text.empty())
        return false;
    const char* first = block_->Texts();
    return std::less_equal<const char*>()(first, text.data()) &&
           std::less<const char*>()(text.data(), first + block_->capacity);
}

bool RowCells::KeepsBlockFor(std::size_t total) const {
    if (block_ == nullptr || total > block_->capacity)
        return false;
    return block_->capacity <= kShrinkAbove || total >= block_->capacity / 4;
}

void RowCells::Set(int column, std::string_view text) {
    if (Holds(text)) {
        const std::string copy(text);
        Set(column, copy);
        return;
    }
    const auto c = static_cast<std::size_t>(column);
    const std::size_t begin = block_ == nullptr || c == 0 ? 0 : block_->end[c - 1];
    const std::size_t oldEnd = block_ == nullptr ? 0 : block_->end[c];
    const std::size_t total = Size();
    const std::size_t others = total - (oldEnd - begin);
    text = text.substr(0, kMaxBytes - others);
    const std::size_t newEnd = begin + text.size();
    const std::size_t newTotal = others + text.size();
    if (newTotal == 0) {
        Clear();
        return;
    }
    const std::size_t tail = total - oldEnd;
    if (KeepsBlockFor(newTotal)) {
        char* texts = block_->Texts();
        if (newEnd != oldEnd && tail != 0)
            std::memmove(texts + newEnd, texts + oldEnd, tail);
        if (!text.empty())
            std::memcpy(texts + begin, text.data(), text.size());
    } else {
        // Some room to spare, so a row that keeps growing (a name typed letter by letter)
        // is not copied at every step; an eighth keeps rows that grow once small.
        Block* fresh = NewBlock(newTotal + newTotal / 8);
        if (block_ != nullptr) {
            std::memcpy(fresh->end, block_->end, sizeof fresh->end);
            std::memcpy(fresh->Texts(), block_->Texts(), begin);
            std::memcpy(fresh->Texts() + newEnd, block_->Texts() + oldEnd, tail);
        }
        if (!text.empty())
            std::memcpy(fresh->Texts() + begin, text.data(), text.size());
        FreeBlock(block_);
        block_ = fresh;
    }
    for (std::size_t i = c; i < ColumnCount; ++i)
        block_->end[i] = static_cast<std::uint32_t>(block_->end[i] - oldEnd + newEnd);
}

template <class Array>
void RowCells::AssignTexts(const Array& texts) {
    std::array<std::size_t, ColumnCount> lengths{};
    std::size_t total = 0;
    bool aliased = false;
    for (std::size_t i = 0; i < ColumnCount; ++i) {
        lengths[i] = std::min<std::size_t>(texts[i].size(), kMaxBytes - total);
        total += lengths[i];
        aliased = aliased || Holds(std::string_view(texts[i].data(), lengths[i]));
    }
    if (total == 0) {
        Clear();
        return;
    }
    Block* target = !aliased && KeepsBlockFor(total) ? block_ : NewBlock(total);
    char* out = target->Texts();
    std::size_t at = 0;
    for (std::size_t i = 0; i < ColumnCount; ++i) {
        if (lengths[i] != 0)
            std::memcpy(out + at, texts[i].data(), lengths[i]);
        at += lengths[i];
        target->end[i] = static_cast<std::uint32_t>(at);
    }
    if (target != block_) {
        FreeBlock(block_);
        block_ = target;
    }
}

void RowCells::Assign(const std::array<std::string, ColumnCount>& texts) {
    AssignTexts(texts);
}

void RowCells::Assign(const std::array<std::string_view, ColumnCount>& texts) {
    AssignTexts(texts);
}

}  // namespace morvane

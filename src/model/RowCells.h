#pragma once
// The twelve cell texts of one list row, kept end to end in one heap block behind their end
// offsets: a row costs one allocation however many of its texts are long, and empty texts
// cost no bytes. A row whose texts are all empty holds no block at all.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ListColumns.h"

namespace morvane {

class RowCells {
public:
    RowCells() = default;
    RowCells(const RowCells&) = delete;
    RowCells& operator=(const RowCells&) = delete;
    RowCells(RowCells&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    RowCells& operator=(RowCells&& other) noexcept;
    ~RowCells() { Clear(); }

    // Valid until the next change of any text of this row.
    std::string_view Get(int column) const {
        if (block_ == nullptr)
            return {};
        const auto c = static_cast<std::size_t>(column);
        const std::uint32_t begin = c == 0 ? 0 : block_->end[c - 1];
        return {block_->Texts() + begin, block_->end[c] - begin};
    }
    // Replaces one text, in place while the block has room. The text may be a view of any
    // text of this row.
    void Set(int column, std::string_view text);
    // Replaces all twelve texts at once, reusing the block when they fit.
    void Assign(const std::array<std::string, ColumnCount>& texts);
    void Assign(const std::array<std::string_view, ColumnCount>& texts);
    // Every text empty; frees the block.
    void Clear();
    // Starts loading the block, for walks over many rows.
    void Prefetch() const { __builtin_prefetch(block_); }

    // Bytes of text the block takes before it must be replaced (0 without a block), and the
    // bytes in use.
    std::size_t Capacity() const { return block_ == nullptr ? 0 : block_->capacity; }
    std::size_t Size() const { return block_ == nullptr ? 0 : block_->end[ColumnCount - 1]; }

    // The most text bytes a row holds: the offsets are 32-bit. Beyond it a text is cut.
    static constexpr std::size_t kMaxBytes = 0xFFFF0000u;

private:
    // The header of the block; the texts follow it.
    struct Block {
        std::uint32_t capacity;
        std::uint32_t end[ColumnCount];  // end of each text, counted from the first
        char* Texts() { return reinterpret_cast<char*>(this + 1); }
        const char* Texts() const { return reinterpret_cast<const char*>(this + 1); }
    };

    static Block* NewBlock(std::size_t capacity);
    static void FreeBlock(Block* block);
    template <class Array>
    void AssignTexts(const Array& texts);
    bool Holds(std::string_view text) const;
    bool KeepsBlockFor(std::size_t total) const;

    Block* block_ = nullptr;
};

}  // namespace morvane

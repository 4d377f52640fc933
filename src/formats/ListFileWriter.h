#pragma once
// Builds the bytes of a list file, record by record; the caller writes them to disk.

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::listfile {

class ListFileWriter {
public:
    ListFileWriter();

    // Appends one record: tag 0 with the path, then tag 1 with the new name, both already in
    // the file's character set. False (and nothing appended) when a text does not fit a
    // 32-bit length or the record count would overflow.
    bool AddRecord(std::string_view path, std::string_view newName);

    // Fills in the record count and the file length and hands out the finished bytes; the
    // writer is spent afterwards.
    std::string Finish();

    std::int32_t RecordCount() const { return count_; }

private:
    void AddField(std::uint8_t tag, std::string_view text);

    std::string bytes_;
    std::int32_t count_ = 0;
};

}  // namespace morvane::listfile

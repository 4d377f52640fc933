#pragma once
// Reads a list file from its bytes, one record at a time. It trusts no length: every field is
// checked against the bytes that remain before anything is copied, and a file that ends too
// early is reported as damaged rather than read past.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::listfile {

struct ListFileHeader {
    std::uint32_t version = 0;
    std::uint64_t length = 0;
    std::int32_t recordCount = 0;
    std::uint8_t fieldsPerRecord = 0;
};

// One row as stored, texts still in the file's character set.
struct ListFileRecord {
    std::string path;     // last tag-0 text, empty when the record has none
    std::string newName;  // last tag-1 text, empty when the record has none
};

// Whether a file of `fileSize` bytes whose first bytes are `start` has the header a reader
// accepts (magic, version, length): what tells a list file from any other file, whatever
// its name.
bool HasListFileHeader(std::string_view start, std::uint64_t fileSize);

class ListFileReader {
public:
    // The data must outlive the reader.
    explicit ListFileReader(std::string_view data) : data_(data) {}

    // Checks magic, version and length. False: this is not a list file (or its header is
    // cut short), and no record may be read.
    bool ReadHeader();
    // Records the header announces; a count of 0 or less announces none.
    std::int32_t RecordCount() const { return header_.recordCount > 0 ? header_.recordCount : 0; }

    enum class Result {
        Record,   // *record holds the next record
        End,      // every announced record has been read
        Damaged,  // a field runs past the end of the data, or records are missing
    };
    Result ReadRecord(ListFileRecord* record);

    // Records handed out so far.
    std::int32_t RecordsRead() const { return read_; }

private:
    std::size_t Remaining() const { return data_.size() - pos_; }

    std::string_view data_;
    std::size_t pos_ = 0;
    ListFileHeader header_;
    bool headerOk_ = false;
    bool damaged_ = false;
    std::int32_t read_ = 0;
};

}  // namespace morvane::listfile

#include "formats/ListFileReader.h"

#include "formats/ListFileFormat.h"

namespace morvane::listfile {

bool HasListFileHeader(std::string_view start, std::uint64_t fileSize) {
    if (start.size() < kHeaderSize || start.substr(0, kMagic.size()) != kMagic)
        return false;
    if ((DecodeFixed32(start.data() + kVersionOffset) >> 16) > kMaxMajorVersion)
        return false;
    return DecodeFixed64(start.data() + kLengthOffset) == fileSize;
}

bool ListFileReader::ReadHeader() {
    headerOk_ = false;
    if (!HasListFileHeader(data_, data_.size()))
        return false;
    const char* p = data_.data();
    header_.version = DecodeFixed32(p + kVersionOffset);
    header_.length = DecodeFixed64(p + kLengthOffset);
    header_.recordCount = static_cast<std::int32_t>(DecodeFixed32(p + kCountOffset));
    header_.fieldsPerRecord = static_cast<std::uint8_t>(p[kFieldsOffset]);
    pos_ = kHeaderSize;
    read_ = 0;
    damaged_ = false;
    headerOk_ = true;
    return true;
}

ListFileReader::Result ListFileReader::ReadRecord(ListFileRecord* record) {
    if (!headerOk_ || damaged_)
        return Result::Damaged;
    if (read_ >= RecordCount())
        return Result::End;
    // A record without fields takes no bytes, so a large count of them would be "present"
    // in a file of 20 bytes and keep the loader busy for billions of rounds.
    if (header_.fieldsPerRecord == 0) {
        damaged_ = true;
        return Result::Damaged;
    }
    std::string_view path, newName;
    for (int f = 0; f < header_.fieldsPerRecord; ++f) {
        if (Remaining() < kFieldHeaderSize) {
            damaged_ = true;
            return Result::Damaged;
        }
        const auto tag = static_cast<std::uint8_t>(data_[pos_]);
        const std::uint32_t length = DecodeFixed32(data_.data() + pos_ + 1);
        pos_ += kFieldHeaderSize;
        if (length > Remaining()) {
            damaged_ = true;
            return Result::Damaged;
        }
        const std::string_view text = data_.substr(pos_, length);
        pos_ += length;
        if (tag == kTagCurrentPath) {
            path = text;
        } else if (tag == kTagNewName) {
            newName = text;
        }
    }
    // Copied only now, from bytes known to be there.
    record->path.assign(path);
    record->newName.assign(newName);
    ++read_;
    return Result::Record;
}

}  // namespace morvane::listfile

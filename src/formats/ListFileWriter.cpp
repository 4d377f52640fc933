#include "formats/ListFileWriter.h"

#include <limits>
#include <utility>

#include "formats/ListFileFormat.h"

namespace morvane::listfile {

ListFileWriter::ListFileWriter() {
    bytes_.reserve(4096);
    bytes_.append(kMagic);
    PutFixed32(&bytes_, kVersion);
    PutFixed64(&bytes_, 0);  // length, filled in by Finish
    PutFixed32(&bytes_, 0);  // record count, filled in by Finish
    PutFixed8(&bytes_, kFieldsPerRecord);
}

bool ListFileWriter::AddRecord(std::string_view path, std::string_view newName) {
    constexpr std::size_t kMaxText = std::numeric_limits<std::uint32_t>::max();
    if (path.size() > kMaxText || newName.size() > kMaxText ||
        count_ == std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    AddField(kTagCurrentPath, path);
    AddField(kTagNewName, newName);
    ++count_;
    return true;
}

void ListFileWriter::AddField(std::uint8_t tag, std::string_view text) {
    PutFixed8(&bytes_, tag);
    PutFixed32(&bytes_, static_cast<std::uint32_t>(text.size()));
    bytes_.append(text);
}

std::string ListFileWriter::Finish() {
    EncodeFixed64(&bytes_[kLengthOffset], bytes_.size());
    std::string count;
    PutFixed32(&count, static_cast<std::uint32_t>(count_));
    bytes_.replace(kCountOffset, count.size(), count);
    return std::move(bytes_);
}

}  // namespace morvane::listfile

#pragma once
// The date of a file for its name: the modification time, or a photo's EXIF date.

#include <cstdint>
#include <string>

#include "names/NameStep.h"

namespace morvane {

// Formats seconds since the epoch in local time with a strftime pattern.
std::string FormatLocalTime(std::int64_t seconds, const std::string& format);

// An EXIF date ("YYYY:MM:DD HH:MM:SS", the camera's clock, no zone) formatted with the
// pattern; false when the value is no such date.
bool FormatExifDate(const std::string& value, const std::string& format, std::string* out);

// The row's date from the source: EXIF falls back to the modification time, with a note
// that says why.
std::string DateOfFile(DateSource source, const std::string& format, const NameContext& context,
                       NameRemarks* said);

}  // namespace morvane

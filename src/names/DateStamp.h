#pragma once
// The date of a file for its name: the modification time, or a photo's EXIF date.

#include <cstdint>
#include <string>

namespace morvane {

// Formats seconds since the epoch in local time with a strftime pattern.
std::string FormatLocalTime(std::int64_t seconds, const std::string& format);

// An EXIF date ("YYYY:MM:DD HH:MM:SS", the camera's clock, no zone) formatted with the
// pattern; false when the value is no such date.
bool FormatExifDate(const std::string& value, const std::string& format, std::string* out);

}  // namespace morvane

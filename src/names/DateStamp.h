#pragma once
// The date of a file for its name: the modification time, or a photo's EXIF
// DateTimeOriginal read through Exiv2.

#include <cstdint>
#include <string>

namespace morvane {

// Formats seconds since the epoch in local time with a strftime pattern.
std::string FormatLocalTime(std::int64_t seconds, const std::string& format);

// The EXIF DateTimeOriginal ("YYYY:MM:DD HH:MM:SS", the camera's clock) formatted with the
// pattern; false when the file cannot be read or has no such tag. Never throws.
bool FormatExifOriginal(const std::string& path, const std::string& format, std::string* out);

}  // namespace morvane

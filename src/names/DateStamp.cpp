#include "names/DateStamp.h"

#include <cstdio>
#include <ctime>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

namespace morvane {
namespace {

std::string Format(const std::tm& tm, const std::string& format) {
    if (format.empty())
        return {};
    char buffer[512];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
    return std::string(buffer, n);
}

bool ReadExifOriginal(const std::string& path, std::string* value) {
    try {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
#pragma GCC diagnostic pop
        if (image.get() == nullptr)
            return false;
        image->readMetadata();
        Exiv2::ExifData& data = image->exifData();
        auto it = data.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
        if (it == data.end())
            return false;
        *value = it->toString();
        return true;
    } catch (...) {
        // Exiv2 throws on unreadable or unknown files; they simply have no EXIF date.
        return false;
    }
}

}  // namespace

std::string FormatLocalTime(std::int64_t seconds, const std::string& format) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    return Format(tm, format);
}

bool FormatExifOriginal(const std::string& path, const std::string& format, std::string* out) {
    std::string value;
    if (!ReadExifOriginal(path, &value))
        return false;
    std::tm tm{};
    if (std::sscanf(value.c_str(), "%d:%d:%d %d:%d:%d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec) != 6 ||
        tm.tm_year < 1 || tm.tm_mon < 1 || tm.tm_mon > 12 || tm.tm_mday < 1) {
        return false;
    }
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    // The camera's clock has no zone: fill in the weekday without shifting the fields.
    std::tm probe = tm;
    const std::time_t asUtc = timegm(&probe);
    std::tm filled{};
    gmtime_r(&asUtc, &filled);
    *out = Format(filled, format);
    return true;
}

}  // namespace morvane

#include "names/DateStamp.h"

#include <cstdio>
#include <ctime>

#include "names/FileFacts.h"

namespace morvane {
namespace {

std::string Format(const std::tm& tm, const std::string& format) {
    if (format.empty())
        return {};
    char buffer[512];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
    return std::string(buffer, n);
}

}  // namespace

std::string FormatLocalTime(std::int64_t seconds, const std::string& format) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    return Format(tm, format);
}

bool FormatExifDate(const std::string& value, const std::string& format, std::string* out) {
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

std::string DateOfFile(DateSource source, const std::string& format, const NameContext& c,
                       NameRemarks* said) {
    std::string stamp;
    if (source == DateSource::ExifOriginal) {
        const PhotoFacts* photo = c.facts != nullptr ? c.facts->Photo() : nullptr;
        if (photo != nullptr && FormatExifDate(photo->dateOriginal, format, &stamp))
            return stamp;
        if (c.facts != nullptr && !c.facts->ReadError().empty())
            said->note =
                "ファイルを読めないため更新日時を使いました (" + c.facts->ReadError() + ")";
        else
            said->note = "EXIF の撮影日時がないため更新日時を使いました";
    }
    const std::int64_t modified =
        c.facts != nullptr ? c.facts->Modified().value_or(c.modified) : c.modified;
    return FormatLocalTime(modified, format);
}

}  // namespace morvane

#pragma once

#include <cstdint>
#include <string>

namespace morvane {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

LocalTime CurrentLocalTime();
// "%Y/%m/%d %H:%M:%S" of the instant in UTC.
std::string FormatUtc(std::int64_t secondsSinceEpoch);
// The same text written into `out`, reusing its room.
void FormatUtc(std::int64_t secondsSinceEpoch, std::string* out);

}  // namespace morvane

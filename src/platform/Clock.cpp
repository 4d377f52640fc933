#include "platform/Clock.h"

#include <ctime>

namespace morvane {

LocalTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatUtc(std::int64_t secondsSinceEpoch) {
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &tm);
    return buffer;
}

}  // namespace morvane

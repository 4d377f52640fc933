#include "platform/Clock.h"

#include <ctime>

namespace morvane {
namespace {

// 9999/12/31 23:59:59 UTC plus one second: below it every year has four digits.
constexpr std::int64_t kFourDigitYearsEnd = 253402300800;
constexpr std::int64_t kSecondsPerDay = 86400;

void PutDigits(char* at, unsigned value, int digits) {
    for (int i = digits - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// The civil date of a day counted from 1970/01/01 (the proleptic Gregorian calendar, in eras
// of 400 years that start on March 1st), without gmtime's locking and strftime's parsing.
void WriteDate(std::int64_t days, char* out) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = z / 146097;
    const auto dayOfEra = static_cast<unsigned>(z - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 is March
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const auto year = static_cast<unsigned>(era * 400 + yearOfEra + (month <= 2 ? 1 : 0));
    PutDigits(out, year, 4);
    out[4] = '/';
    PutDigits(out + 5, month, 2);
    out[7] = '/';
    PutDigits(out + 8, day, 2);
}

}  // namespace

LocalTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void FormatUtc(std::int64_t secondsSinceEpoch, std::string* out) {
    if (secondsSinceEpoch >= 0 && secondsSinceEpoch < kFourDigitYearsEnd) {
        // Every row of a registration shows one: written by hand, into the text's own room.
        char text[19];
        WriteDate(secondsSinceEpoch / kSecondsPerDay, text);
        const auto second = static_cast<unsigned>(secondsSinceEpoch % kSecondsPerDay);
        text[10] = ' ';
        PutDigits(text + 11, second / 3600, 2);
        text[13] = ':';
        PutDigits(text + 14, second / 60 % 60, 2);
        text[16] = ':';
        PutDigits(text + 17, second % 60, 2);
        out->assign(text, sizeof text);
        return;
    }
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &tm);
    out->assign(buffer);
}

std::string FormatUtc(std::int64_t secondsSinceEpoch) {
    std::string text;
    FormatUtc(secondsSinceEpoch, &text);
    return text;
}

}  // namespace morvane

#include "ops/registration/NameOrder.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "names/DecimalDigit.h"
#include "platform/Utf16.h"

namespace morvane {
namespace {

// The value of the decimal digit at name[i] (ASCII, full-width or any other Unicode digit)
// and its length in bytes; -1 when no digit starts there.
int DigitAt(std::string_view name, std::size_t i, std::size_t* length) {
    const auto byte = static_cast<unsigned char>(name[i]);
    *length = 1;
    if (byte < 0x80)
        return byte >= '0' && byte <= '9' ? byte - '0' : -1;
    std::uint32_t cp = 0;
    *length = detail::DecodeUtf8(name, i, &cp);
    return DecimalDigitValue(cp);
}

// Bytes that compare, as plain strings, in name order: case folded, and each run of digits
// written as its significant digits after their count.
void AppendNameSortKey(std::string_view name, std::string* key) {
    std::string digits;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = 0;
        int digit = DigitAt(name, i, &length);
        if (digit < 0) {
            const char c = name[i];
            if (length == 1)
                key->push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
            else
                key->append(name.substr(i, length));
            i += length;
            continue;
        }
        // "０５" and "05" are the same number: written in ASCII, leading zeros dropped.
        digits.clear();
        for (; digit >= 0; digit = i < name.size() ? DigitAt(name, i, &length) : -1) {
            if (digit != 0 || !digits.empty())
                digits.push_back(static_cast<char>('0' + digit));
            i += length;
        }
        // '0' stands where any digit would among the other characters; then the count of
        // significant digits in two bytes, so a longer number is a larger one.
        const std::size_t count = digits.size();
        key->push_back('0');
        key->push_back(static_cast<char>(count >> 8));
        key->push_back(static_cast<char>(count & 0xff));
        key->append(digits);
    }
}

}  // namespace

std::vector<std::size_t> NameOrder(const std::vector<std::string_view>& names) {
    std::vector<std::string> keys(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        AppendNameSortKey(names[i], &keys[i]);
    std::vector<std::size_t> order(names.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // Byte-wise, as std::string compares; equal keys (case or leading zeros apart) fall back
    // to the names themselves.
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (const int c = keys[a].compare(keys[b]); c != 0)
            return c < 0;
        return names[a] < names[b];
    });
    return order;
}

}  // namespace morvane

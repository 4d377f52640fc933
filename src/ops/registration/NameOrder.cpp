#include "ops/registration/NameOrder.h"

#include <algorithm>
#include <string>

namespace morvane {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes that compare, as plain strings, in name order: case folded, and each run of digits
// written as its significant digits after their count.
void AppendNameSortKey(std::string_view name, std::string* key) {
    for (std::size_t i = 0; i < name.size();) {
        const char c = name[i];
        if (!IsDigit(c)) {
            key->push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
            ++i;
            continue;
        }
        while (i < name.size() && name[i] == '0')
            ++i;
        std::size_t end = i;
        while (end < name.size() && IsDigit(name[end]))
            ++end;
        // '0' stands where any digit would among the other characters; then the count of
        // significant digits in two bytes, so a longer number is a larger one.
        const std::size_t count = end - i;
        key->push_back('0');
        key->push_back(static_cast<char>(count >> 8));
        key->push_back(static_cast<char>(count & 0xff));
        key->append(name.substr(i, count));
        i = end;
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

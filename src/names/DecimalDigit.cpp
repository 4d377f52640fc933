#include "names/DecimalDigit.h"

#include <unicode/uchar.h>

namespace morvane {

int DecimalDigitValue(std::uint32_t codePoint) {
    if (codePoint >= '0' && codePoint <= '9')
        return static_cast<int>(codePoint - '0');
    if (codePoint < 0x80)
        return -1;
    const auto c = static_cast<UChar32>(codePoint);
    if (u_charType(c) != U_DECIMAL_DIGIT_NUMBER)
        return -1;
    return u_charDigitValue(c);
}

}  // namespace morvane

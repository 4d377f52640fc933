#include "names/NameParts.h"

#include <cstdint>

#include "platform/Utf16.h"

namespace morvane {

std::size_t CodePointCount(std::string_view text) {
    std::size_t count = 0;
    std::uint32_t cp = 0;
    for (std::size_t i = 0; i < text.size(); i += detail::DecodeUtf8(text, i, &cp))
        ++count;
    return count;
}

std::size_t ByteOffsetOf(std::string_view text, std::size_t index) {
    std::size_t i = 0;
    std::uint32_t cp = 0;
    for (; i < text.size() && index > 0; --index)
        i += detail::DecodeUtf8(text, i, &cp);
    return i;
}

namespace detail {

std::size_t ValidRunLength(std::string_view text, std::size_t i) {
    const std::size_t start = i;
    std::uint32_t cp = 0;
    while (i < text.size()) {
        const std::size_t length = DecodeUtf8(text, i, &cp);
        // A stray byte decodes to U+DC80..U+DCFF, which valid UTF-8 never encodes.
        if (length == 1 && cp >= 0xDC80 && cp <= 0xDCFF)
            break;
        i += length;
    }
    return i - start;
}

}  // namespace detail
}  // namespace morvane

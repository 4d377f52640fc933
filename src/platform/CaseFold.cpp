#include "platform/CaseFold.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/stringpiece.h>
#include <unicode/uchar.h>

#include "platform/Utf16.h"

namespace morvane {
namespace {

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Appends the folding of valid UTF-8.
void FoldValid(std::string_view run, std::string& out) {
    if (IsAscii(run)) {
        for (const char c : run)
            out += FoldAscii(c);
        return;
    }
    std::string folded;
    icu::StringByteSink<std::string> sink(&folded);
    UErrorCode status = U_ZERO_ERROR;
    icu::CaseMap::utf8Fold(U_FOLD_CASE_DEFAULT,
                           icu::StringPiece(run.data(), static_cast<std::int32_t>(run.size())),
                           sink, nullptr, status);
    // Without its data ICU cannot fold; the text then stands for itself.
    out.append(U_SUCCESS(status) ? std::string_view(folded) : run);
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        const std::size_t length = detail::DecodeUtf8(text, i, &cp);
        if (cp >= 0xDC80 && cp <= 0xDCFF) {
            // A byte that is not UTF-8: copied, and the valid text on either side folded alone.
            FoldValid(text.substr(runStart, i - runStart), out);
            out += text[i];
            runStart = i + 1;
        }
        i += length;
    }
    FoldValid(text.substr(runStart), out);
    return out;
}

bool SameUnderCaseFolding(std::string_view a, std::string_view b) {
    if (a == b)
        return true;
    // Most names are ASCII, where folding lowers A to Z alone; other text may fold into ASCII
    // (the Kelvin sign to "k", "ß" to "ss") and is folded whole.
    if (a.size() == b.size() && IsAscii(a) && IsAscii(b)) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (FoldAscii(a[i]) != FoldAscii(b[i]))
                return false;
        }
        return true;
    }
    return FoldCase(a) == FoldCase(b);
}

}  // namespace morvane

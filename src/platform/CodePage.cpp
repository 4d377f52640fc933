#include "platform/CodePage.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <mutex>

namespace morvane {
namespace {

std::string& Codeset() {
    static std::string codeset = "UTF-8";
    return codeset;
}

bool IsUtf8Name(const std::string& name) {
    return strcasecmp(name.c_str(), "UTF-8") == 0 || strcasecmp(name.c_str(), "UTF8") == 0;
}

// Converts with iconv; an unconvertible or invalid sequence becomes "?", so a name that does
// not fit the code page still reads as a name of the same shape.
std::string Convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    std::string out;
    out.reserve(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, sizeof buffer - dstLeft);
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: replace one byte and go on.
            out += '?';
            ++src;
            --srcLeft;
        }
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, sizeof buffer - dstLeft);
    iconv_close(cd);
    return out;
}

}  // namespace

void InitLocaleCodePage() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::setlocale(LC_ALL, "");
        const char* cs = nl_langinfo(CODESET);
        Codeset() = cs != nullptr && *cs != '\0' ? cs : "UTF-8";
        // The C locale reports ASCII; file names are still UTF-8 bytes, so pass them through.
        if (Codeset() == "ANSI_X3.4-1968")
            Codeset() = "UTF-8";
    });
}

bool LocaleIsUtf8() {
    return IsUtf8Name(Codeset());
}

std::string ToLocaleCodePage(std::string_view utf8) {
    if (LocaleIsUtf8())
        return std::string(utf8);
    return Convert(utf8, Codeset().c_str(), "UTF-8");
}

std::string FromLocaleCodePage(std::string_view bytes) {
    if (LocaleIsUtf8())
        return std::string(bytes);
    return Convert(bytes, "UTF-8", Codeset().c_str());
}

}  // namespace morvane

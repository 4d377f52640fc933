#define PCRE2_CODE_UNIT_WIDTH 8
#include "names/Replace.h"

#include <pcre2.h>

#include <cctype>
#include <cstdio>
#include <vector>

namespace morvane {
namespace {

std::string EscapePattern(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80 && !std::isalnum(u))
            out += '\\';
        out += c;
    }
    return out;
}

std::string EscapeReplacement(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '$')
            out += '$';
        out += c;
    }
    return out;
}

}  // namespace

std::unique_ptr<Replacer> Replacer::Compile(const ReplaceStep& step, std::string* error) {
    const std::string pattern = step.regex ? step.find : EscapePattern(step.find);
    std::uint32_t flags = PCRE2_UTF | PCRE2_UCP;
    if (!step.caseSensitive)
        flags |= PCRE2_CASELESS;
    int code = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* compiled = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()),
                                         pattern.size(), flags, &code, &offset, nullptr);
    if (compiled == nullptr) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(code, message, sizeof message);
        char text[512];
        std::snprintf(text, sizeof text, "正規表現が正しくありません (位置 %zu) : %s",
                      static_cast<std::size_t>(offset), reinterpret_cast<const char*>(message));
        *error = text;
        return nullptr;
    }
    std::unique_ptr<Replacer> replacer(new Replacer);
    replacer->code_ = compiled;
    replacer->match_ = pcre2_match_data_create_from_pattern(compiled, nullptr);
    replacer->replacement_ = step.regex ? step.replacement : EscapeReplacement(step.replacement);
    replacer->options_ = PCRE2_SUBSTITUTE_OVERFLOW_LENGTH;
    if (step.regex)
        replacer->options_ |= PCRE2_SUBSTITUTE_EXTENDED;
    if (step.all)
        replacer->options_ |= PCRE2_SUBSTITUTE_GLOBAL;
    return replacer;
}

Replacer::~Replacer() {
    pcre2_match_data_free(match_);
    pcre2_code_free(code_);
}

std::string Replacer::Apply(const std::string& text) const {
    std::vector<PCRE2_UCHAR> out(text.size() * 2 + 64);
    for (int attempt = 0; attempt < 2; ++attempt) {
        PCRE2_SIZE length = out.size();
        const int rc = pcre2_substitute(code_, reinterpret_cast<PCRE2_SPTR>(text.data()),
                                        text.size(), 0, options_, match_, nullptr,
                                        reinterpret_cast<PCRE2_SPTR>(replacement_.data()),
                                        replacement_.size(), out.data(), &length);
        if (rc >= 0)
            return std::string(reinterpret_cast<const char*>(out.data()), length);
        if (rc != PCRE2_ERROR_NOMEMORY)
            break;
        out.resize(length + 1);
    }
    // A name that is not valid UTF-8 or a replacement that names a missing group: unchanged.
    return text;
}

}  // namespace morvane

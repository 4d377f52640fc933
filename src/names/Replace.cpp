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
    // A leading ".*" would anchor the match at the start, where a stray byte stops it; each
    // valid run of a name must be searched.
    std::uint32_t flags = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF | PCRE2_NO_DOTSTAR_ANCHOR;
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
    replacer->context_ = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(replacer->context_, kMatchLimit);
    pcre2_set_depth_limit(replacer->context_, kDepthLimit);
    replacer->replacement_ = step.regex ? step.replacement : EscapeReplacement(step.replacement);
    replacer->options_ = PCRE2_SUBSTITUTE_OVERFLOW_LENGTH;
    if (step.regex)
        replacer->options_ |= PCRE2_SUBSTITUTE_EXTENDED;
    if (step.all)
        replacer->options_ |= PCRE2_SUBSTITUTE_GLOBAL;
    return replacer;
}

Replacer::~Replacer() {
    pcre2_match_context_free(context_);
    pcre2_match_data_free(match_);
    pcre2_code_free(code_);
}

bool Replacer::Apply(const std::string& text, std::string* out, std::string* error) const {
    std::vector<PCRE2_UCHAR> buffer(text.size() * 2 + 64);
    int rc = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        PCRE2_SIZE length = buffer.size();
        rc = pcre2_substitute(code_, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0,
                              options_, match_, context_,
                              reinterpret_cast<PCRE2_SPTR>(replacement_.data()),
                              replacement_.size(), buffer.data(), &length);
        if (rc >= 0) {
            out->assign(reinterpret_cast<const char*>(buffer.data()), length);
            return true;
        }
        if (rc != PCRE2_ERROR_NOMEMORY)
            break;
        buffer.resize(length + 1);
    }
    *out = text;
    if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
        rc == PCRE2_ERROR_HEAPLIMIT) {
        *error = "式が複雑すぎます (照合の上限に達しました)";
    } else {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(rc, message, sizeof message);
        *error = std::string("置換できません : ") + reinterpret_cast<const char*>(message);
    }
    return false;
}

}  // namespace morvane

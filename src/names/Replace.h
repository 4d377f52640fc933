#pragma once
// Find and replace through PCRE2 in UTF mode; plain text is escaped into a pattern so that
// case-insensitive matching follows Unicode too. Names that are not valid UTF-8 are matched
// as they are (PCRE2_MATCH_INVALID_UTF): a stray byte matches nothing and stays.

#include <memory>
#include <string>

#include "names/NameStep.h"

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;
struct pcre2_real_match_context_8;

namespace morvane {

class Replacer final {
public:
    // Null with *error set when the expression does not compile.
    static std::unique_ptr<Replacer> Compile(const ReplaceStep& step, std::string* error);
    ~Replacer();
    Replacer(const Replacer&) = delete;
    Replacer& operator=(const Replacer&) = delete;

    // False with *error set when the match gave up (too complex for its limits) or the
    // replacement names a group the expression lacks; *out is then the text unchanged.
    bool Apply(const std::string& text, std::string* out, std::string* error) const;

    // A name is at most 255 bytes: no sensible expression needs more backtracking than
    // this, and one that does (nested repeats) stops within a millisecond, not a minute.
    static constexpr unsigned kMatchLimit = 100000;
    static constexpr unsigned kDepthLimit = 1000;

private:
    Replacer() = default;
    pcre2_real_code_8* code_ = nullptr;
    pcre2_real_match_data_8* match_ = nullptr;
    pcre2_real_match_context_8* context_ = nullptr;
    std::string replacement_;
    unsigned options_ = 0;
};

}  // namespace morvane

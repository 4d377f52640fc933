#pragma once
// Find and replace through PCRE2 in UTF mode; plain text is escaped into a pattern so that
// case-insensitive matching follows Unicode too.

#include <memory>
#include <string>

#include "names/NameStep.h"

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

namespace morvane {

class Replacer final {
public:
    // Null with *error set when the expression does not compile.
    static std::unique_ptr<Replacer> Compile(const ReplaceStep& step, std::string* error);
    ~Replacer();
    Replacer(const Replacer&) = delete;
    Replacer& operator=(const Replacer&) = delete;

    std::string Apply(const std::string& text) const;

private:
    Replacer() = default;
    pcre2_real_code_8* code_ = nullptr;
    pcre2_real_match_data_8* match_ = nullptr;
    std::string replacement_;
    unsigned options_ = 0;
};

}  // namespace morvane

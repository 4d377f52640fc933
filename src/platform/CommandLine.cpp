#include "platform/CommandLine.h"

#include <wordexp.h>

namespace morvane {

bool SplitCommandLine(const std::string& text, std::vector<std::string>* words) {
    words->clear();
    wordexp_t expanded{};
    // WRDE_NOCMD: "$(...)" and backquotes are refused, never run.
    if (wordexp(text.c_str(), &expanded, WRDE_NOCMD) != 0) {
        wordfree(&expanded);
        return false;
    }
    for (std::size_t i = 0; i < expanded.we_wordc; ++i)
        words->emplace_back(expanded.we_wordv[i]);
    wordfree(&expanded);
    return !words->empty();
}

}  // namespace morvane

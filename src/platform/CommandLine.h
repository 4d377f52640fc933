#pragma once
// A command line the user typed (an editor with its options), split into words the way a
// POSIX shell splits them, without starting a shell.

#include <string>
#include <vector>

namespace morvane {

// Splits `text` into words: quotes and backslashes as in sh, "~" and $VARIABLES expanded.
// Nothing is run: a command substitution, a pipe, a redirection or an unbalanced quote makes
// the text unusable, and false is returned with *words left empty.
bool SplitCommandLine(const std::string& text, std::vector<std::string>* words);

}  // namespace morvane

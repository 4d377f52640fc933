#pragma once
// What names a run to the user: when it ran (local time), how many files, which folders.

#include <string>

#include "formats/JournalFormat.h"

namespace morvane {

struct JournalFile;

// "YYYY/MM/DD hh:mm:ss" in local time, from the UTC stamp the journal's name begins with.
std::string RunTimeOf(const JournalFile& file);
// The folder of the first file, and "他 N フォルダ" for the others.
std::string RunFoldersOf(const JournalText& journal);

}  // namespace morvane

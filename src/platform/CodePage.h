#pragma once
// Conversion between the program's UTF-8 text and the locale's character set, used for the
// text file and the list file. With a UTF-8 locale, bytes pass through unchanged, so names
// that are not valid UTF-8 survive a round trip.

#include <string>
#include <string_view>

namespace morvane {

// Reads the locale (setlocale(LC_ALL, "")) once; later calls do nothing.
void InitLocaleCodePage();
bool LocaleIsUtf8();
std::string ToLocaleCodePage(std::string_view utf8);
std::string FromLocaleCodePage(std::string_view bytes);

}  // namespace morvane

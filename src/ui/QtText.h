#pragma once
// Conversions at the edge between the core's UTF-8 strings and Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace morvane {

inline QString Qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString Qs(const char* text) {
    return QString::fromUtf8(text);
}

inline std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// A file path from a Qt widget, in the bytes the file system uses.
std::string PathBytes(const QString& path);

// A file name for editing, and back. A byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC80 + (byte - 0x80) and turns back into that byte, so editing one part of a
// name keeps the bytes of the rest, whatever their encoding.
QString NameForEditing(std::string_view bytes);
std::string NameBytes(const QString& text);

// Position of a progress bar whose range is 0 to 2^31 - 1: the fraction times 2^31,
// truncated, never beyond the end (so 1 or more fills the bar) and never below 0.
int ProgressPosition(float fraction);
inline constexpr int kProgressMaximum = 2147483647;

}  // namespace morvane

#pragma once
// The steps that compute a new file name, as plain settings. A NamePipeline compiles an
// ordered list of them once and applies it to each name.

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace morvane {

enum class NamePart { Stem, Extension, Whole };
enum class Edge { Start, End };

struct ReplaceStep {
    bool enabled = true;
    std::string find;
    std::string replacement;  // with regex: $1, ${name}; plain text: taken literally
    bool regex = false;
    bool caseSensitive = true;
    bool all = true;  // every match, or only the first
    NamePart part = NamePart::Stem;
};

// Positions and counts are in code points of the stem.
struct InsertStep {
    bool enabled = true;
    std::string text;
    int position = 0;
    Edge from = Edge::Start;
};

// From End: `from` characters are kept after the removed range.
struct RemoveStep {
    bool enabled = true;
    int from = 0;
    int count = 0;
    Edge edge = Edge::Start;
};

enum class NumberPlace { Before, After, InsteadOfStem };
struct NumberStep {
    bool enabled = true;
    long long start = 1;
    long long step = 1;
    int digits = 1;
    bool perFolder = false;
    NumberPlace place = NumberPlace::Before;
    std::string separator;
    // Only where the name would collide with one given to an earlier row or a file in the
    // folder: the first keeps its name, the next get start, start + step, ...
    bool onCollision = false;
};

// Keep: the choice a new step opens on, so that it changes nothing until the user picks.
enum class CaseKind { Keep, Upper, Lower, Title };
struct CaseStep {
    bool enabled = true;
    CaseKind kind = CaseKind::Upper;
    NamePart part = NamePart::Stem;
};

enum class WidthKind {
    Keep,
    AsciiToHalfwidth,
    AsciiToFullwidth,
    HalfwidthKatakanaToFull,
    HiraganaToKatakana,
    KatakanaToHiragana,
    Nfc
};
struct WidthStep {
    bool enabled = true;
    WidthKind kind = WidthKind::AsciiToHalfwidth;
    NamePart part = NamePart::Whole;
};

enum class DateSource { Modified, ExifOriginal };
struct DateStep {
    bool enabled = true;
    DateSource source = DateSource::Modified;
    std::string format = "%Y-%m-%d_%H%M%S";  // strftime, local time
    int position = 0;
    Edge from = Edge::Start;
    bool instead = false;  // the date replaces the name (the stem) instead of joining it
};

enum class ExtensionAction { Keep, Change, Add, Remove, Lower, Upper };
struct ExtensionStep {
    bool enabled = true;
    ExtensionAction action = ExtensionAction::Change;
    std::string text;  // without the dot
};

// The whole new name from one text with fields in braces: {name} {ext} {folder} {n}
// {date} {date:FORMAT} {exif:TAG} {width} {height} {size} (4000x3000) {title} {artist}
// {album} {track} {disc} {year} ({track:2}: at least two digits); "{{" and "}}" are braces. A
// field the file lacks is empty, and the row says so.
struct TemplateStep {
    bool enabled = true;
    std::string text = "{name}{ext}";
    DateSource source = DateSource::Modified;  // of {date}
    std::string format = "%Y-%m-%d_%H%M%S";    // of {date}
    // {n}, as in NumberStep; on collision it is the separator and the number, or nothing.
    long long start = 1;
    long long step = 1;
    int digits = 1;
    bool perFolder = false;
    bool onCollision = false;
    std::string separator = "_";
};

using NameStep = std::variant<ReplaceStep, InsertStep, RemoveStep, NumberStep, CaseStep, WidthStep,
                              DateStep, ExtensionStep, TemplateStep>;

class FileFacts;

// What the caller knows about the row whose name is computed.
struct NameContext {
    std::string path;  // full path of the file
    std::size_t listIndex = 0;
    std::size_t folderIndex = 0;
    // 0 for the name as it comes; n for the n-th numbered try after a collision.
    std::size_t collision = 0;
    // The row's file, read when a step asks; without it a step has only `modified`.
    FileFacts* facts = nullptr;
    std::int64_t modified = 0;  // seconds since the epoch, when there are no facts
};

// What the computation of one name has to say besides the name.
struct NameRemarks {
    std::string note;     // such as a fallback; the name is still made
    std::string missing;  // fields of a template the file lacks, made empty ("artist, year")
    std::string error;    // a step failed: the name is the one given, unchanged
};

}  // namespace morvane

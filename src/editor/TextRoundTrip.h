#pragma once
// Editing all new names in a text editor: export, row lock, change detection, re-import.

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

class CMorvaneApp;
struct FileInfo;
struct LocalTime;
struct TextFileStamp;

class TextRoundTrip {
public:
    explicit TextRoundTrip(CMorvaneApp& app) : app_(app) {}

    // Menu 32806 (fromToolbar false) and toolbar check button 32775 (true).
    void OnEditInTextEditor(bool fromToolbar);
    void ExportAndLock();
    void LockRows(const std::string& path);
    void UnlockRows();
    // One step of change detection; run by the main loop only.
    void PollTextFile();
    void ReimportTextFile();

private:
    // The reading pass; false when it stopped early (its error is logged).
    bool ReadLines(std::string_view content, const int* lineToRow, int n);
    void SetNameFromLine(int row, std::string_view line);
    void ValidateRows(const int* lineToRow, int n);

    CMorvaneApp& app_;
};

// What tells one saved state of the text file from another.
TextFileStamp StampOf(const FileInfo& info);
// "%08x[MORVANE]_YYYYMMDDhhmmss.txt".
std::string TextFileName(std::uint32_t counter, const LocalTime& time);

// Longest line of the text file, its carriage return included.
inline constexpr std::size_t kMaxTextLineBytes = 63998;

enum class TextLineStatus { Ok, Missing, TooLong };
// Takes the line that starts at *offset: up to a line feed (not part of the line) or the end
// of the content; a carriage return before its end is dropped. The end of the content before
// a line feed makes the line Missing unless it is the last one wanted. A line longer than
// kMaxTextLineBytes is TooLong.
TextLineStatus NextTextLine(std::string_view content, std::size_t* offset, bool lastWanted,
                            std::string_view* line);

}  // namespace morvane

#pragma once
// Editing all new names in a text editor: export, row lock, change detection, re-import.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "ops/textfile/RowLock.h"

namespace morvane {

class ActivityLog;
class BusyState;
class FileSystem;
class MainWindow;
class Progress;
class ListModel;
class ItemBreak;
class Validation;
struct AppSettings;
struct NewName;
struct FileInfo;
struct LocalTime;
struct Locations;
class InstanceRecord;

// What tells one saved state of the text file from another, beyond its one-second time text.
struct TextFileStamp {
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const TextFileStamp&) const = default;
};

class TextRoundTrip final : private RowLock::Holder {
public:
    TextRoundTrip(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
                  const AppSettings& settings, const Locations& locations, MainWindow& window,
                  Progress& progress, const BusyState& busy, ItemBreak& itemBreak,
                  InstanceRecord& instance, RowLock& lock)
        : list_(list),
          validation_(validation),
          fs_(fs),
          log_(log),
          settings_(settings),
          locations_(locations),
          window_(window),
          progress_(progress),
          busy_(busy),
          itemBreak_(itemBreak),
          instance_(instance),
          lock_(lock) {}

    bool RowLocked() const { return lock_.RowLocked(); }
    // Holds or drops the lock with no text file behind it, for tests of its guards.
    void SetRowLockedForTest(bool locked) {
        if (locked)
            lock_.Take(*this);
        else
            lock_.Released();
    }
    const std::string& TextFilePath() const { return textFilePath_; }
    // The text file's last-write time as the re-import's first log line shows it.
    const std::string& TextFileTime() const { return textFileTime_; }

    // The menu item (fromToolbar false) and the toolbar's check button (true), which has
    // already toggled itself when its command arrives.
    void OnEditInTextEditor(bool fromToolbar);
    void ExportAndLock();
    void LockRows(const std::string& path);
    void UnlockRows() override;
    // One step of change detection; run by the main loop only.
    void PollTextFile();
    void ReimportTextFile();

private:
    // Opens the text file in the editor the settings choose; false, with the reason logged,
    // when none could be started.
    bool OpenInEditor(const std::string& path);
    // The reading pass: gives the entry of each claimed line (*names holds one per claimed
    // line, in line order) the line's name, unless its row is kept from renaming. False when
    // it stopped early, with the error to log in *stopMessage. Converted names live in
    // *converted.
    bool ReadLines(std::string_view content, const std::vector<int>& lineToRow,
                   std::vector<NewName>* names, std::deque<std::string>* converted,
                   std::string* stopMessage);

    ListModel& list_;
    Validation& validation_;
    FileSystem& fs_;
    ActivityLog& log_;
    const AppSettings& settings_;
    const Locations& locations_;
    MainWindow& window_;
    Progress& progress_;
    const BusyState& busy_;
    ItemBreak& itemBreak_;
    InstanceRecord& instance_;
    RowLock& lock_;

    std::string textFilePath_;
    std::string textFileTime_;        // the file's last-write time as the log shows it
    TextFileStamp textFileStamp_;     // full stamp of the last re-imported state
    TextFileStamp pendingTextStamp_;  // stamp seen by the last poll, waiting to settle
};

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

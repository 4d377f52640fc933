// Change detection of the text file and its re-import into the locked rows.

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/ActivityLog.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/Pump.h"
#include "ops/TextRoundTrip.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Utf16.h"
#include "rules/Validation.h"

namespace morvane {
namespace {

constexpr std::size_t kMaxPathUnits = 32000;
// How many rows ahead the passes over all rows start loading what they will walk.
constexpr int kPrefetchDistance = 4;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

TextLineStatus NextTextLine(std::string_view content, std::size_t* offset, bool lastWanted,
                            std::string_view* line) {
    const std::string_view rest = content.substr(std::min(*offset, content.size()));
    const std::size_t window = std::min(rest.size(), kMaxTextLineBytes + 1);
    const void* feed = std::memchr(rest.data(), '\n', window);
    std::size_t length = 0;
    if (feed != nullptr) {
        length = static_cast<std::size_t>(static_cast<const char*>(feed) - rest.data());
    } else if (rest.size() > kMaxTextLineBytes) {
        return TextLineStatus::TooLong;
    } else if (!lastWanted) {
        return TextLineStatus::Missing;
    } else {
        length = rest.size();
    }
    *line = rest.substr(0, length);
    if (!line->empty() && line->back() == '\r')
        line->remove_suffix(1);
    *offset += length + 1;
    return TextLineStatus::Ok;
}

void TextRoundTrip::PollTextFile() {
    const auto info = fs_.Find(textFilePath_);
    if (!info)
        return;
    const TextFileStamp stamp = StampOf(*info);
    if (stamp == textFileStamp_) {
        pendingTextStamp_ = {};
        return;
    }
    // A file that is still being written changes between two polls; read it only once it
    // has kept its stamp for one more poll.
    if (!(stamp == pendingTextStamp_)) {
        pendingTextStamp_ = stamp;
        return;
    }
    pendingTextStamp_ = {};
    textFileStamp_ = stamp;
    textFileTime_ = FormatUtc(info->mtimeSec);
    ReimportTextFile();
}

void TextRoundTrip::ReimportTextFile() {
    host_.CommitEdit();
    ListModel& list = list_;
    const int n = list.RowCount();
    if (n == 0)
        return;
    host_.SetStatusProgress(0.0f);
    host_.SetMainWindowEnabled(false);
    log_.ClearLog();
    log_.AppendLog(FormatText(msg::kReimportStart, textFileTime_.c_str()));

    // Line k belongs to the row whose "行" reads k + 1. A line no row claims is ignored.
    std::vector<int> lineToRow(static_cast<std::size_t>(n), -1);
    for (int i = 0; i < n; ++i) {
        const int k = std::clamp(list.RowNumberOf(i) - 1, 0, n - 1);
        lineToRow[static_cast<std::size_t>(k)] = i;
    }

    bool ok = true;
    std::string content;
    if (!fs_.ReadFile(textFilePath_, &content).Ok()) {
        log_.AppendLog(FormatText(msg::kTextOpenFailed, textFilePath_.c_str()));
        ok = false;
    } else if (StartsWith(content, "\xFF\xFE") || StartsWith(content, "\xFE\xFF")) {
        // Every name would be cut at its first zero byte: refuse instead of guessing.
        log_.AppendLog(FormatText(msg::kTextUtf16, textFilePath_.c_str()));
        ok = false;
    } else {
        std::string_view text = content;
        // A byte-order mark is no part of the first name.
        if (StartsWith(text, "\xEF\xBB\xBF"))
            text.remove_prefix(3);
        ok = ReadLines(text, lineToRow.data(), n);
        ValidateRows(lineToRow.data(), n);
    }

    log_.AppendLog(ok ? msg::kReimportEnd : msg::kReimportFailedEnd);
    host_.RedrawList();
    host_.SetStatusProgress(0.0f);
    host_.SetMainWindowEnabled(true);
}

bool TextRoundTrip::ReadLines(std::string_view content, const int* lineToRow, int n) {
    ListModel& list = list_;
    // The file was read whole, once; every line is one scan of its bytes.
    std::size_t offset = 0;
    const PathIndex& index = list.NewPathIndex();
    const auto entryAhead = [&](int k, int distances) -> const FileEntry* {
        const int line = k + distances * kPrefetchDistance;
        return line < n && lineToRow[line] >= 0 ? list.EntryAt(lineToRow[line]) : nullptr;
    };
    for (int k = 0; k < n; ++k) {
        // Moving a row in the index waits on its neighbours in the chain: load the entry,
        // its link, then the neighbours, each some rows ahead.
        if (const FileEntry* e = entryAhead(k, 3))
            __builtin_prefetch(e);
        if (const FileEntry* e = entryAhead(k, 2))
            __builtin_prefetch(e->newLink);
        if (const FileEntry* e = entryAhead(k, 1))
            index.PrefetchNeighbours(e);
        std::string_view line;
        switch (NextTextLine(content, &offset, k == n - 1, &line)) {
            case TextLineStatus::Missing:
                log_.AppendLog(FormatText(msg::kFewerLines, k + 1, n));
                return false;
            case TextLineStatus::TooLong:
                log_.AppendLog(FormatText(msg::kLineTooLong, k + 1));
                return false;
            case TextLineStatus::Ok:
                break;
        }
        const int row = lineToRow[k];
        if (row >= 0 && (list.EntryAt(row)->errors & ErrRenameTest) == 0)
            SetNameFromLine(row, line);
        host_.SetStatusProgress(static_cast<float>(k) / static_cast<float>(n));
        pump_();
    }
    return true;
}

void TextRoundTrip::SetNameFromLine(int row, std::string_view line) {
    ListModel& list = list_;
    FileEntry* entry = list.EntryAt(row);
    // A zero byte ends the name.
    line = line.substr(0, line.find('\0'));
    // With a UTF-8 locale the line is the name; only another character set needs a copy.
    std::string converted;
    std::string_view name = line;
    if (!LocaleIsUtf8()) {
        converted = FromLocaleCodePage(line);
        name = converted;
    }
    const std::size_t kept = name.find_last_not_of(' ');
    const std::size_t length = kept == std::string::npos ? 0 : kept + 1;
    if (length < name.size()) {
        name = name.substr(0, length);
        log_.AppendLog(FormatText(msg::kTrailingBlanks, row + 1, std::string(name).c_str()));
    }
    const std::size_t dirLength = entry->dirLength;
    std::size_t units = Utf16Length(name);
    if (dirLength + 1 + units >= kMaxPathUnits) {
        log_.AppendLog(FormatText(msg::kPathCut, static_cast<int>(kMaxPathUnits), row + 1,
                                  std::string(name).c_str()));
        const std::size_t room = dirLength < kMaxPathUnits - 2 ? kMaxPathUnits - 2 - dirLength : 0;
        name = Utf16Prefix(name, room);
        units = Utf16Length(name);
    }
    const std::string_view directory = list.Cell(row, ColDirectory);
    const std::string_view oldPath = entry->newPath;
    // Most lines of a long list come back as they went out: their row stays where it is in
    // the index.
    const bool samePath = oldPath.size() == directory.size() + name.size() &&
                          oldPath.substr(directory.size()) == name &&
                          oldPath.substr(0, directory.size()) == directory;
    // The path before the cells: setting them moves this row's texts, `directory` with them.
    if (!samePath)
        SetNewPath(*entry, directory, name);
    list.SetCell(row, ColCharCount, std::to_string(units));
    list.SetCell(row, ColNewName, name);
    if (!samePath)
        list.NewPathIndex().Insert(entry);  // moves it to the chain of its new key
}

void TextRoundTrip::ValidateRows(const int* lineToRow, int n) {
    ListModel& list = list_;
    Validation& validation = validation_;
    for (int j = 0; j < n; ++j) {
        for (int step = 0; step < Validation::kPrefetchSteps; ++step) {
            const int ahead = j + kPrefetchDistance * (Validation::kPrefetchSteps - step);
            if (ahead < n)
                validation.PrefetchChecks(lineToRow[ahead], step);
        }
        const int row = lineToRow[j];
        if (row >= 0) {
            FileEntry* entry = list.EntryAt(row);
            // Ends when a check below refreshes this row's error cell.
            const std::string_view name = list.Cell(row, ColNewName);
            // Blank and forbidden name the row by its list position; the swap message by
            // its "行" number.
            if (name.empty()) {
                log_.AppendLog(FormatText(msg::kBlankName, row + 1));
                entry->errors |= ErrBlank;
            } else {
                entry->errors &= ~ErrBlank;
            }
            if (Validation::HasForbiddenCharacter(name)) {
                log_.AppendLog(FormatText(msg::kForbidden, row + 1, entry->newKey.c_str()));
                entry->errors |= ErrForbidden;
            } else {
                entry->errors &= ~ErrForbidden;
            }
            if (validation.CheckDuplicate(row)) {
                entry->errors |= ErrDuplicate;
            } else {
                entry->errors &= ~ErrDuplicate;
            }
            const FileEntry* occupant = validation.OccupantOf(row);
            if ((entry->errors & ErrBlank) == 0) {
                if (validation.CheckExistingFile(row, occupant)) {
                    entry->errors |= ErrExists;
                } else {
                    entry->errors &= ~ErrExists;
                }
            }
            if (validation.CheckSwapTarget(row, occupant)) {
                const std::string shown(list.Cell(row, ColNewName));
                log_.AppendLog(FormatText(msg::kSwapTarget, list.RowNumberOf(row), shown.c_str()));
                entry->errors |= ErrSwapBlocked;
            } else {
                entry->errors &= ~ErrSwapBlocked;
            }
            if (entry->errors != 0) {
                validation.MarkDependents(row);
            } else {
                validation.ReleaseDependents(row);
            }
            list.RefreshErrorColumn(row);
        }
        host_.SetStatusProgress(static_cast<float>(j) / static_cast<float>(n));
        pump_();
    }
}

}  // namespace morvane

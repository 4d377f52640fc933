// Change detection of the text file and its re-import into the locked rows.

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "host/ActivityLog.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "host/Progress.h"
#include "model/ListModel.h"
#include "ops/ItemBreak.h"
#include "ops/textfile/TextRoundTrip.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "rules/Validation.h"

namespace morvane {
namespace {

// Far beyond any list of names (100,000 rows of long names take a few tens of MB).
constexpr std::uint64_t kMaxTextFileBytes = std::uint64_t{1} << 30;
// Far beyond any list too; a "行" cell reading more claims no line.
constexpr int kMostLines = 1 << 24;

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

namespace {

// Shows the batch's progress. Why reading stopped is logged once the names are set,
// before the messages of the checks.
class ReimportProgress final : public NameBatchObserver {
public:
    ReimportProgress(Progress& progress, ItemBreak& itemBreak, ActivityLog& log, std::size_t count,
                     const std::string& stopMessage)
        : progress_(progress),
          itemBreak_(itemBreak),
          log_(log),
          count_(count),
          stopMessage_(stopMessage) {}

    void NameSet(std::size_t index) override { Step(index); }
    void NamesSet() override {
        if (!stopMessage_.empty())
            log_.AppendLog(stopMessage_);
    }
    void RowChecked(std::size_t index) override { Step(index); }

private:
    void Step(std::size_t index) {
        progress_.SetStatusProgress(static_cast<float>(index) / static_cast<float>(count_));
        itemBreak_();
    }

    Progress& progress_;
    ItemBreak& itemBreak_;
    ActivityLog& log_;
    const std::size_t count_;
    const std::string& stopMessage_;
};

}  // namespace

void TextRoundTrip::ReimportTextFile() {
    window_.CommitEdit();
    ListModel& list = list_;
    const int n = list.RowCount();
    if (n == 0)
        return;
    progress_.SetStatusProgress(0.0f);
    window_.SetMainWindowEnabled(false);
    log_.ClearLog();
    log_.AppendLog(FormatText(msg::kReimportStart, textFileTime_.c_str()));

    // Line k belongs to the row whose "行" reads k + 1. A line no row claims is ignored.
    // After a rename run the rows it could not rename keep their numbers, and the file its
    // lines for the rows that left: the lines run to the highest number.
    int lines = n;
    for (int i = 0; i < n; ++i)
        lines = std::max(lines, std::min(list.RowNumberOf(i), kMostLines));
    std::vector<int> lineToRow(static_cast<std::size_t>(lines), -1);
    for (int i = 0; i < n; ++i) {
        const int k = std::clamp(list.RowNumberOf(i) - 1, 0, lines - 1);
        lineToRow[static_cast<std::size_t>(k)] = i;
    }

    bool ok = true;
    std::string content;
    // Read as a list file is: a FIFO or a device put in its place is refused at once.
    if (!fs_.ReadFile(textFilePath_, kMaxTextFileBytes, &content).Ok()) {
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
        // Every claimed line's row, in line order, is checked again, named or not.
        std::vector<NewName> names;
        names.reserve(static_cast<std::size_t>(n));
        for (const int row : lineToRow) {
            if (row >= 0)
                names.push_back(NewName::Keep(row));
        }
        std::deque<std::string> converted;
        std::string stopMessage;
        ok = ReadLines(text, lineToRow, &names, &converted, &stopMessage);
        // A save read only in part applies none of its lines: its first names were written
        // for a file the user had not finished. The rows are checked all the same.
        if (!ok) {
            for (NewName& change : names)
                change = NewName::Keep(change.row);
        }
        // The lines that differ from their rows' names, with the names they had: a changed
        // line may still give the same name (blanks cut), so the count is taken afterwards.
        std::vector<std::pair<int, std::string>> before;
        for (const NewName& change : names) {
            if (!change.keep && change.name != list.Cell(change.row, ColNewName))
                before.emplace_back(change.row, list.Cell(change.row, ColNewName));
        }
        ReimportProgress progress(progress_, itemBreak_, log_, names.size(), stopMessage);
        validation_.SetNewNames(names, NameSource::TextFile, &progress);
        const auto changed = std::count_if(before.begin(), before.end(), [&](const auto& row) {
            return list.Cell(row.first, ColNewName) != row.second;
        });
        log_.AppendLog(FormatText(msg::kNamesChanged, static_cast<int>(changed)));
    }

    log_.AppendLog(ok ? msg::kReimportEnd : msg::kReimportFailedEnd);
    window_.RedrawList();
    progress_.SetStatusProgress(0.0f);
    window_.SetMainWindowEnabled(true);
}

bool TextRoundTrip::ReadLines(std::string_view content, const std::vector<int>& lineToRow,
                              std::vector<NewName>* names, std::deque<std::string>* converted,
                              std::string* stopMessage) {
    ListModel& list = list_;
    const int n = static_cast<int>(lineToRow.size());
    // The file was read whole, once; every line is one scan of its bytes.
    std::size_t offset = 0;
    std::size_t next = 0;  // the entry of the next claimed line
    for (int k = 0; k < n; ++k) {
        std::string_view line;
        switch (NextTextLine(content, &offset, k == n - 1, &line)) {
            case TextLineStatus::Missing:
                *stopMessage = FormatText(msg::kFewerLines, k + 1, n);
                return false;
            case TextLineStatus::TooLong:
                *stopMessage = FormatText(msg::kLineTooLong, k + 1);
                return false;
            case TextLineStatus::Ok:
                break;
        }
        if (lineToRow[static_cast<std::size_t>(k)] < 0)
            continue;
        NewName& change = (*names)[next++];
        if ((list.EntryAt(change.row)->errors & ErrRenameTest) != 0)
            continue;
        // A zero byte ends the name.
        line = line.substr(0, line.find('\0'));
        // With a UTF-8 locale the line is the name; only another character set needs a copy.
        if (!LocaleIsUtf8())
            line = converted->emplace_back(FromLocaleCodePage(line));
        change.name = line;
        change.keep = false;
    }
    return true;
}

}  // namespace morvane

#include "formats/JournalFormat.h"

#include <algorithm>
#include <charconv>

namespace morvane {
namespace {

constexpr std::string_view kFirstLine = "morvane journal 2";
constexpr std::string_view kFirstLineV1 = "morvane journal 1";

void AppendEscaped(std::string* text, std::string_view path) {
    for (const char c : path) {
        switch (c) {
            case '\\':
                *text += "\\\\";
                break;
            case '\t':
                *text += "\\t";
                break;
            case '\n':
                *text += "\\n";
                break;
            case '\r':
                *text += "\\r";
                break;
            default:
                *text += c;
        }
    }
}

std::string Unescaped(std::string_view field) {
    std::string path;
    path.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            path += field[i];
            continue;
        }
        const char c = field[++i];
        path += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return path;
}

// The next space-separated word of `line`, taken off its front.
std::string_view Word(std::string_view* line) {
    const std::size_t space = line->find(' ');
    const std::string_view word = line->substr(0, space);
    line->remove_prefix(space == std::string_view::npos ? line->size() : space + 1);
    return word;
}

template <typename Integer>
bool Number(std::string_view word, Integer* value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), *value);
    return error == std::errc() && end == word.data() + word.size();
}

// "<seconds>.<nanoseconds>"
bool Time(std::string_view word, std::int64_t* sec, std::int64_t* nsec) {
    const std::size_t dot = word.find('.');
    return dot != std::string_view::npos && Number(word.substr(0, dot), sec) &&
           Number(word.substr(dot + 1), nsec);
}

void AppendTime(std::string* text, std::int64_t sec, std::int64_t nsec) {
    *text += std::to_string(sec);
    *text += '.';
    *text += std::to_string(nsec);
}

constexpr char kKindLetters[] = {'f', 'd', 'l', 'o'};

bool Kind(std::string_view word, EntryKind* kind) {
    for (std::size_t i = 0; i < sizeof kKindLetters; ++i) {
        if (word.size() == 1 && word[0] == kKindLetters[i]) {
            *kind = static_cast<EntryKind>(i);
            return true;
        }
    }
    return false;
}

bool ParsePaths(std::string_view line, JournalEntry* entry) {
    const std::size_t first = line.find('\t');
    const std::size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    if (second == std::string_view::npos)
        return false;
    entry->from = Unescaped(line.substr(0, first));
    entry->temp = Unescaped(line.substr(first + 1, second - first - 1));
    entry->to = Unescaped(line.substr(second + 1));
    return !entry->from.empty() && !entry->to.empty();
}

bool ParsePlanLineV1(std::string_view line, JournalEntry* entry) {
    return Number(Word(&line), &entry->device) && Number(Word(&line), &entry->inode) &&
           ParsePaths(line, entry);
}

bool ParsePlanLine(std::string_view line, const std::vector<JournalVolume>& volumes,
                   JournalEntry* entry) {
    std::uint64_t volume = 0;
    if (!Number(Word(&line), &volume) || volume >= volumes.size() ||
        !Kind(Word(&line), &entry->mark.kind) || !Number(Word(&line), &entry->inode) ||
        !Number(Word(&line), &entry->mark.size) ||
        !Time(Word(&line), &entry->mark.mtimeSec, &entry->mark.mtimeNsec) ||
        !Time(Word(&line), &entry->mark.birthSec, &entry->mark.birthNsec))
        return false;
    entry->volume = static_cast<std::uint32_t>(volume);
    entry->device = volumes[volume].device;
    return ParsePaths(line, entry);
}

bool ParseVolumeLine(std::string_view line, JournalVolume* volume) {
    if (!Number(Word(&line), &volume->device))
        return false;
    const std::string_view inodes = Word(&line);
    if (inodes != "i" && inodes != "n")
        return false;
    volume->stableInodes = inodes == "i";
    volume->identity = Unescaped(line);
    return true;
}

}  // namespace

std::string JournalHeader(RunKind kind, std::string_view undoes) {
    std::string text(kFirstLine);
    text += kind == RunKind::Undo ? "\nrun undo " : "\nrun rename ";
    if (undoes.empty())
        text += '-';
    else
        AppendEscaped(&text, undoes);
    text += '\n';
    return text;
}

std::string SummaryLine(std::size_t count, std::size_t folders, std::string_view firstFolder) {
    std::string line = "s " + std::to_string(count) + " " + std::to_string(folders) + " ";
    AppendEscaped(&line, firstFolder);
    line += '\n';
    return line;
}

std::string VolumeLine(const JournalVolume& volume) {
    std::string line = "v " + std::to_string(volume.device) + (volume.stableInodes ? " i " : " n ");
    AppendEscaped(&line, volume.identity);
    line += '\n';
    return line;
}

void AppendPlanLine(std::string* text, const JournalEntry& entry) {
    *text += "p ";
    *text += std::to_string(entry.volume);
    *text += ' ';
    *text += kKindLetters[static_cast<std::size_t>(entry.mark.kind)];
    *text += ' ';
    *text += std::to_string(entry.inode);
    *text += ' ';
    *text += std::to_string(entry.mark.size);
    *text += ' ';
    AppendTime(text, entry.mark.mtimeSec, entry.mark.mtimeNsec);
    *text += ' ';
    AppendTime(text, entry.mark.birthSec, entry.mark.birthNsec);
    *text += ' ';
    AppendEscaped(text, entry.from);
    *text += '\t';
    AppendEscaped(text, entry.temp);
    *text += '\t';
    AppendEscaped(text, entry.to);
    *text += '\n';
}

std::string PlannedLine(std::size_t count) {
    return "planned " + std::to_string(count) + "\n";
}

std::string ExtraTempLine(std::size_t index, std::string_view path) {
    std::string line = "t " + std::to_string(index) + " ";
    AppendEscaped(&line, path);
    line += '\n';
    return line;
}

std::string ProgressLine(std::uint16_t depth, int phase) {
    return "done " + std::to_string(depth) + " " + std::to_string(phase) + "\n";
}

std::string BackLine(std::size_t index) {
    return "b " + std::to_string(index) + "\n";
}

std::string RecoveredLine(std::uint16_t depth, bool atNew) {
    return "recovered " + std::to_string(depth) + (atNew ? " new\n" : " old\n");
}

bool ParseJournal(std::string_view text, JournalText* journal) {
    *journal = {};
    // Cut off before its first line was whole: a journal with no plan yet.
    const std::string first = std::string(kFirstLine) + "\n";
    const std::string firstV1 = std::string(kFirstLineV1) + "\n";
    if (text.size() < first.size() && first.compare(0, text.size(), text) == 0)
        return true;
    const bool v1 = text.substr(0, firstV1.size()) == firstV1;
    if (!v1 && text.substr(0, first.size()) != first)
        return false;
    text.remove_prefix(first.size());
    // Plan lines that do not read keep their place, so that the indices of later lines still
    // point at the right entries; they are dropped at the end.
    std::vector<bool> unread;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            journal->cutShort = true;
            break;
        }
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        ++journal->lines;
        const std::string_view tag = Word(&line);
        bool read = true;
        if (tag == "p" && !journal->planEnded) {
            JournalEntry entry;
            read =
                v1 ? ParsePlanLineV1(line, &entry) : ParsePlanLine(line, journal->volumes, &entry);
            journal->plan.push_back(read ? std::move(entry) : JournalEntry{});
            unread.push_back(!read);
        } else if (tag == "v" && !v1 && journal->plan.empty()) {
            JournalVolume volume;
            read = ParseVolumeLine(line, &volume);
            if (read)
                journal->volumes.push_back(std::move(volume));
        } else if (tag == "s" && journal->plan.empty()) {
            std::uint64_t count = 0, folders = 0;
            read = Number(Word(&line), &count) && Number(Word(&line), &folders);
            if (read) {
                journal->summaryCount = static_cast<long long>(count);
                journal->summaryFolders = folders;
                journal->summaryFolder = Unescaped(line);
            }
        } else if (tag == "run") {
            journal->kind = Word(&line) == "undo" ? RunKind::Undo : RunKind::Rename;
            journal->undoes = line == "-" ? std::string() : Unescaped(line);
        } else if (tag == "planned") {
            std::uint64_t count = 0;
            journal->planEnded = true;
            journal->planned = Number(line, &count) && count == journal->plan.size() &&
                               std::find(unread.begin(), unread.end(), true) == unread.end();
        } else if (tag == "t") {
            std::uint64_t index = 0;
            read = Number(Word(&line), &index) && index < journal->plan.size();
            if (read)
                journal->plan[index].extraTemps.push_back(Unescaped(line));
            journal->movedAfter = true;
        } else if (tag == "done") {
            std::uint64_t depth = 0, phase = 0;
            read = Number(Word(&line), &depth) && Number(line, &phase) && depth <= 0xFFFF;
            if (read) {
                journal->doneDepth = static_cast<int>(depth);
                journal->donePhase = static_cast<int>(phase);
            }
            journal->movedAfter = true;
        } else if (tag == "recovered") {
            std::uint64_t depth = 0;
            read =
                Number(Word(&line), &depth) && depth <= 0xFFFF && (line == "old" || line == "new");
            if (read)
                journal->recovered.emplace_back(static_cast<std::uint16_t>(depth), line == "new");
            journal->movedAfter = true;
        } else if (tag == "b") {
            std::uint64_t index = 0;
            read = Number(line, &index) && index < journal->plan.size();
            if (read && !journal->plan[index].back) {
                journal->plan[index].back = true;
                ++journal->backCount;
            }
        } else if (tag == "complete") {
            journal->complete = true;
        } else if (tag == "undone") {
            journal->undone = true;
        } else {
            read = false;
        }
        journal->badLines += read ? 0 : 1;
    }
    if (std::find(unread.begin(), unread.end(), true) != unread.end()) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < journal->plan.size(); ++i) {
            if (unread[i])
                continue;
            if (kept != i)
                journal->plan[kept] = std::move(journal->plan[i]);
            ++kept;
        }
        journal->plan.resize(kept);
        journal->backCount =
            static_cast<std::size_t>(std::count_if(journal->plan.begin(), journal->plan.end(),
                                                   [](const JournalEntry& e) { return e.back; }));
    }
    return true;
}

}  // namespace morvane

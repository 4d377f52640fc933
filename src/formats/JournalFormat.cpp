#include "formats/JournalFormat.h"

#include <charconv>

namespace morvane {
namespace {

constexpr std::string_view kFirstLine = "morvane journal 1";

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

bool Number(std::string_view word, std::uint64_t* value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), *value);
    return error == std::errc() && end == word.data() + word.size();
}

bool ParsePlanLine(std::string_view line, JournalEntry* entry) {
    if (!Number(Word(&line), &entry->device) || !Number(Word(&line), &entry->inode))
        return false;
    const std::size_t first = line.find('\t');
    const std::size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    if (second == std::string_view::npos)
        return false;
    entry->from = Unescaped(line.substr(0, first));
    entry->temp = Unescaped(line.substr(first + 1, second - first - 1));
    entry->to = Unescaped(line.substr(second + 1));
    return !entry->from.empty() && !entry->to.empty();
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

void AppendPlanLine(std::string* text, const JournalEntry& entry) {
    *text += "p ";
    *text += std::to_string(entry.device);
    *text += ' ';
    *text += std::to_string(entry.inode);
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

bool ParseJournal(std::string_view text, JournalText* journal) {
    *journal = {};
    // Cut off before its first line was whole: a journal with no plan yet.
    const std::string first = std::string(kFirstLine) + "\n";
    if (text.size() < first.size() && first.compare(0, text.size(), text) == 0)
        return true;
    if (text.substr(0, first.size()) != first)
        return false;
    text.remove_prefix(kFirstLine.size() + 1);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            break;  // cut short
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const std::string_view tag = Word(&line);
        if (tag == "p" && !journal->planned) {
            JournalEntry entry;
            if (ParsePlanLine(line, &entry))
                journal->plan.push_back(std::move(entry));
        } else if (tag == "run") {
            journal->kind = Word(&line) == "undo" ? RunKind::Undo : RunKind::Rename;
            journal->undoes = line == "-" ? std::string() : Unescaped(line);
        } else if (tag == "planned") {
            std::uint64_t count = 0;
            journal->planned = Number(line, &count) && count == journal->plan.size();
        } else if (tag == "t") {
            std::uint64_t index = 0;
            if (Number(Word(&line), &index) && index < journal->plan.size())
                journal->plan[index].extraTemps.push_back(Unescaped(line));
        } else if (tag == "complete") {
            journal->complete = true;
        } else if (tag == "undone") {
            journal->undone = true;
        }
    }
    return true;
}

}  // namespace morvane

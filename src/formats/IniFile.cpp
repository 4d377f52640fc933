#include "formats/IniFile.h"

#include <strings.h>

#include <cstdlib>

namespace morvane {
namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool IsSectionHeader(const std::string& line, std::string* name) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    const auto close = t.find(']');
    if (close == std::string::npos)
        return false;
    if (name != nullptr)
        *name = Trim(t.substr(1, close - 1));
    return true;
}

}  // namespace

void IniFile::Parse(const std::string& content) {
    lines_.clear();
    std::size_t start = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines_.push_back(std::move(line));
        start = end + 1;
    }
    // A UTF-8 mark at the start would hide the first section.
    if (!lines_.empty() && lines_[0].rfind("\xEF\xBB\xBF", 0) == 0)
        lines_[0].erase(0, 3);
}

std::string IniFile::Serialize() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line;
        out += '\n';
    }
    return out;
}

int IniFile::FindSection(const std::string& section) const {
    std::string name;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (IsSectionHeader(lines_[i], &name) && SameName(name, section)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int IniFile::SectionEnd(int header) const {
    int i = header + 1;
    while (i < static_cast<int>(lines_.size()) &&
           !IsSectionHeader(lines_[static_cast<std::size_t>(i)], nullptr)) {
        ++i;
    }
    return i;
}

int IniFile::FindKey(int header, const std::string& key) const {
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const std::string& line = lines_[static_cast<std::size_t>(i)];
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';' || t[0] == '#')
            continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        if (SameName(Trim(line.substr(0, eq)), key))
            return i;
    }
    return -1;
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
    const int header = FindSection(section);
    if (header < 0)
        return std::nullopt;
    const int line = FindKey(header, key);
    if (line < 0)
        return std::nullopt;
    const std::string& text = lines_[static_cast<std::size_t>(line)];
    std::string value = Trim(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
    int header = FindSection(section);
    if (header < 0) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(key + "=" + value);
        return;
    }
    const int line = FindKey(header, key);
    if (line >= 0) {
        lines_[static_cast<std::size_t>(line)] = key + "=" + value;
        return;
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    int insertAt = SectionEnd(header);
    while (insertAt > header + 1 && Trim(lines_[static_cast<std::size_t>(insertAt - 1)]).empty()) {
        --insertAt;
    }
    lines_.insert(lines_.begin() + insertAt, key + "=" + value);
}

int ParseProfileInt(const std::string& value) {
    return static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
}

}  // namespace morvane

#pragma once
// A private-profile (INI) file kept as its lines, so that writing a key changes only that
// line and every section, key and comment the program does not know survives.

#include <optional>
#include <string>
#include <vector>

namespace morvane {

class IniFile {
public:
    void Parse(const std::string& content);
    std::string Serialize() const;

    // The value with surrounding blanks (and one pair of quotes) removed; nullopt if absent.
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    // Replaces the key's line, or adds the key at the end of its section (creating the
    // section at the end of the file when absent).
    void Set(const std::string& section, const std::string& key, const std::string& value);

private:
    // Index of the line "[section]" or -1; section names compare without ASCII case.
    int FindSection(const std::string& section) const;
    // End of the section starting at line `header`: the next section header or the end.
    int SectionEnd(int header) const;
    int FindKey(int header, const std::string& key) const;

    std::vector<std::string> lines_;
};

// GetPrivateProfileInt's reading: leading blanks, an optional sign, decimal digits; a value
// that is not a number reads as 0.
int ParseProfileInt(const std::string& value);

}  // namespace morvane

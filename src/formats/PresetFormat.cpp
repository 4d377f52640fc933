#include "formats/PresetFormat.h"

#include "names/StepFields.h"

#include <charconv>
#include <limits>
#include <map>
#include <optional>

namespace morvane {
namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::optional<std::string> Unquoted(std::string_view value) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        char c = value[i];
        if (c == '"')
            return std::nullopt;
        if (c == '\\') {
            if (++i + 1 >= value.size())
                return std::nullopt;
            switch (value[i]) {
                case '"':
                case '\\':
                    c = value[i];
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'n':
                    c = '\n';
                    break;
                case 'r':
                    c = '\r';
                    break;
                default:
                    return std::nullopt;
            }
        }
        out += c;
    }
    return out;
}

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void Text(const char* key, const std::string& value) { Line(key, Quoted(value)); }
    void Flag(const char* key, bool value) { Line(key, value ? "yes" : "no"); }
    template <class N>
    void Number(const char* key, N value) {
        Line(key, std::to_string(value));
    }
    template <class E>
    void Choice(const char* key, E value, FieldNames<E> names) {
        for (const auto& [e, name] : names) {
            if (e == value)
                Line(key, name);
        }
    }

private:
    void Line(const char* key, const std::string& value) {
        out_ += key;
        out_ += " = ";
        out_ += value;
        out_ += '\n';
    }
    std::string& out_;
};

// Reads a section's keys into a step; each key taken is erased, so what is left is unknown.
class Reader {
public:
    explicit Reader(std::map<std::string, std::string>& keys) : keys_(keys) {}
    const std::string& error() const { return error_; }

    void Text(const char* key, std::string& value) {
        Take(key, [&](const std::string& v) {
            auto text = Unquoted(v);
            if (text)
                value = std::move(*text);
            return text.has_value();
        });
    }
    void Flag(const char* key, bool& value) {
        Take(key, [&](const std::string& v) {
            value = v == "yes";
            return v == "yes" || v == "no";
        });
    }
    template <class N>
    void Number(const char* key, N& value) {
        Take(key, [&](const std::string& v) {
            long long n = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || end != v.data() + v.size() ||
                n < static_cast<long long>(std::numeric_limits<N>::min()) ||
                n > static_cast<long long>(std::numeric_limits<N>::max()))
                return false;
            value = static_cast<N>(n);
            return true;
        });
    }
    template <class E>
    void Choice(const char* key, E& value, FieldNames<E> names) {
        Take(key, [&](const std::string& v) {
            for (const auto& [e, name] : names) {
                if (v == name) {
                    value = e;
                    return true;
                }
            }
            return false;
        });
    }

private:
    template <class F>
    void Take(const char* key, F parse) {
        const auto found = keys_.find(key);
        if (found == keys_.end())
            return;
        if (!parse(found->second) && error_.empty())
            error_ = std::string("値が正しくありません : ") + key + " = " + found->second;
        keys_.erase(found);
    }
    std::map<std::string, std::string>& keys_;
    std::string error_;
};

template <std::size_t I = 0>
std::optional<NameStep> StepOfKind(std::string_view kind) {
    if constexpr (I < std::variant_size_v<NameStep>) {
        if (kind == kStepKinds[I])
            return NameStep(std::in_place_index<I>);
        return StepOfKind<I + 1>(kind);
    } else {
        return std::nullopt;
    }
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// One [preset] or [step] section as read: its first line and its keys.
struct Section {
    std::string title;
    int line = 0;
    std::map<std::string, std::string> keys;
    std::size_t begin = 0;  // of its title line
    std::size_t end = 0;    // after its last line that is no comment
};

bool Fail(std::string* error, int line, const std::string& why) {
    *error = std::to_string(line) + " 行目 : " + why;
    return false;
}

}  // namespace

std::string WritePresets(const std::vector<NamePreset>& presets) {
    std::string out = "; Morvane の名前の一括変更のプリセット\n";
    for (const NamePreset& preset : presets)
        out += "\n" + WritePreset(preset);
    return out;
}

std::string WritePreset(const NamePreset& preset) {
    std::string out;
    Writer writer(out);
    out += "[preset]\n";
    writer.Text("name", preset.name);
    for (NameStep step : preset.steps) {
        out += "[step]\n";
        out += "kind = ";
        out += kStepKinds[step.index()];
        out += '\n';
        std::visit(
            [&](auto& s) {
                writer.Flag("enabled", s.enabled);
                VisitFields(writer, s);
            },
            step);
    }
    return out;
}

bool ReadPresets(std::string_view text, std::vector<NamePreset>* presets, std::string* error,
                 std::vector<PresetSpan>* spans) {
    presets->clear();
    std::vector<Section> sections;
    int number = 0;
    const std::size_t size = text.size();
    while (!text.empty()) {
        const std::size_t at = size - text.size();
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        const std::size_t after = size - text.size();
        if (line.front() == '[' && line.back() == ']') {
            sections.push_back(
                {std::string(line.substr(1, line.size() - 2)), number, {}, at, after});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || sections.empty())
            return Fail(error, number, "読めない行です : " + std::string(line));
        const std::string key(Trimmed(line.substr(0, equals)));
        if (!sections.back().keys.emplace(key, Trimmed(line.substr(equals + 1))).second)
            return Fail(error, number, "キーが重複しています : " + key);
        sections.back().end = after;
    }

    std::vector<NamePreset> read;
    std::vector<PresetSpan> found;
    for (Section& section : sections) {
        if (section.title == "preset") {
            auto name =
                section.keys.count("name") != 0 ? Unquoted(section.keys["name"]) : std::nullopt;
            if (!name || name->empty() || section.keys.size() != 1)
                return Fail(error, section.line, "プリセットの名前が正しくありません");
            read.push_back({std::move(*name), {}});
            found.push_back({section.begin, section.end});
        } else if (section.title == "step") {
            if (read.empty())
                return Fail(error, section.line, "プリセットのない手順です");
            const auto kind = section.keys.find("kind");
            std::optional<NameStep> step;
            if (kind != section.keys.end())
                step = StepOfKind(kind->second);
            if (!step)
                return Fail(error, section.line, "手順の種類が正しくありません");
            section.keys.erase(kind);
            Reader reader(section.keys);
            std::visit(
                [&](auto& s) {
                    reader.Flag("enabled", s.enabled);
                    VisitFields(reader, s);
                },
                *step);
            if (!reader.error().empty())
                return Fail(error, section.line, reader.error());
            if (!section.keys.empty())
                return Fail(error, section.line, "不明なキーです : " + section.keys.begin()->first);
            read.back().steps.push_back(std::move(*step));
            found.back().end = section.end;
        } else {
            return Fail(error, section.line, "不明なセクションです : [" + section.title + "]");
        }
    }
    *presets = std::move(read);
    if (spans != nullptr)
        *spans = std::move(found);
    return true;
}

}  // namespace morvane

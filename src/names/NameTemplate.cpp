#include "names/NameTemplate.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "names/DateStamp.h"
#include "names/FileFacts.h"
#include "platform/Paths.h"

namespace morvane {
namespace {

using Field = NameTemplate::Field;

struct FieldName {
    const char* name;
    Field field;
};
constexpr FieldName kFields[] = {
    {"name", Field::Name},   {"ext", Field::Extension}, {"folder", Field::Folder},
    {"n", Field::Counter},   {"date", Field::Date},     {"exif", Field::Exif},
    {"width", Field::Width}, {"height", Field::Height}, {"size", Field::Size},
    {"title", Field::Title}, {"artist", Field::Artist}, {"album", Field::Album},
    {"track", Field::Track}, {"disc", Field::Disc},     {"year", Field::Year},
};

const char* NameOfField(Field field) {
    for (const FieldName& f : kFields) {
        if (f.field == field)
            return f.name;
    }
    return "";
}

// A tag's text in a name: "AC/DC" must not become a folder, nor a line break a second line.
std::string Sanitized(std::string text) {
    for (char& c : text) {
        if (c == '/')
            c = '_';
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return text;
}

std::string Padded(long long value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%0*lld", std::clamp(digits, 1, 40), value);
    return buffer;
}

// "{track:2}": at least that many digits; anything else: as the number is.
int DigitsOf(const std::string& argument) {
    const int digits = std::atoi(argument.c_str());
    return digits > 0 && digits < 20 ? digits : 1;
}

}  // namespace

std::unique_ptr<NameTemplate> NameTemplate::Compile(const TemplateStep& step, std::string* error) {
    std::unique_ptr<NameTemplate> shape(new NameTemplate(step));
    const std::string_view text = step.text;
    std::string literal;
    const auto fail = [&](const std::string& why) {
        *error = "テンプレートが正しくありません : " + why;
        return nullptr;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
            literal += c;
            ++i;
            continue;
        }
        if (c == '}')
            return fail("対応する { がない }");
        if (c != '{') {
            literal += c;
            continue;
        }
        const std::size_t close = text.find('}', i);
        if (close == std::string_view::npos)
            return fail("閉じていない {");
        const std::string_view inside = text.substr(i + 1, close - i - 1);
        const std::size_t colon = inside.find(':');
        const std::string_view key = inside.substr(0, colon);
        Piece piece;
        piece.field = Field::Literal;
        for (const FieldName& f : kFields) {
            if (key == f.name)
                piece.field = f.field;
        }
        if (piece.field == Field::Literal)
            return fail("不明な欄 {" + std::string(inside) + "}");
        if (colon != std::string_view::npos)
            piece.text = inside.substr(colon + 1);
        if (piece.field == Field::Exif && piece.text.empty())
            return fail("{exif:タグ名} のタグ名がありません");
        if (!literal.empty())
            shape->pieces_.push_back({Field::Literal, std::move(literal)});
        literal.clear();
        shape->pieces_.push_back(std::move(piece));
        i = close;
    }
    if (!literal.empty())
        shape->pieces_.push_back({Field::Literal, std::move(literal)});
    return shape;
}

bool NameTemplate::NumbersOnCollision() const {
    if (!step_.onCollision)
        return false;
    for (const Piece& piece : pieces_) {
        if (piece.field == Field::Counter)
            return true;
    }
    return false;
}

std::string NameTemplate::Counter(const NameContext& c) const {
    if (step_.onCollision) {
        if (c.collision == 0)
            return {};
        const auto index = static_cast<long long>(c.collision - 1);
        return step_.separator + Padded(step_.start + step_.step * index, step_.digits);
    }
    const auto index = static_cast<long long>(step_.perFolder ? c.folderIndex : c.listIndex);
    return Padded(step_.start + step_.step * index, step_.digits);
}

std::string NameTemplate::Expand(const std::string& name, const NameContext& c,
                                 NameRemarks* said) const {
    std::string out;
    const auto missing = [&](Field field, const std::string& argument = {}) {
        std::string what = NameOfField(field);
        if (!argument.empty())
            what += ":" + argument;
        if (said->missing.find(what) != std::string::npos)
            return;
        said->missing += (said->missing.empty() ? "" : ", ") + what;
    };
    // Why a file's fields are empty, when it is not that the file lacks them.
    const auto because = [&](const std::string& why) {
        if (said->note.find(why) == std::string::npos)
            said->note += (said->note.empty() ? "" : " ") + why;
    };
    const auto unread = [&] {
        if (!c.facts->ReadError().empty())
            because("ファイルを読めません (" + c.facts->ReadError() + ")");
    };
    const auto photo = [&]() -> const PhotoFacts* {
        if (c.facts == nullptr)
            return nullptr;
        const PhotoFacts* facts = c.facts->Photo();
        if (facts == nullptr)
            unread();
        return facts;
    };
    const auto audio = [&]() -> const AudioFacts* {
        if (c.facts == nullptr)
            return nullptr;
        const AudioFacts* facts = c.facts->Audio();
        if (facts == nullptr)
            unread();
        if (facts == nullptr && c.facts->TagsMayBeUnread())
            because("タグはファイルの先頭 2 MiB と末尾になく、読めませんでした");
        return facts;
    };
    const auto text = [&](Field field, const std::string& value) {
        if (value.empty())
            missing(field);
        out += Sanitized(value);
    };
    const auto number = [&](Field field, unsigned value, const std::string& argument) {
        if (value == 0)
            missing(field);
        else
            out += Padded(value, DigitsOf(argument));
    };
    for (const Piece& piece : pieces_) {
        switch (piece.field) {
            case Field::Literal:
                out += piece.text;
                break;
            case Field::Name:
                out += StemOf(name);
                break;
            case Field::Extension:
                out += name.substr(StemOf(name).size());
                break;
            case Field::Folder:
                out += NameOf(WithoutFinalSlash(FolderOf(c.path)));
                break;
            case Field::Counter:
                out += Counter(c);
                break;
            case Field::Date:
                out += DateOfFile(step_.source, piece.text.empty() ? step_.format : piece.text, c,
                                  said);
                break;
            case Field::Exif: {
                const PhotoFacts* facts = photo();
                const std::string* value = nullptr;
                if (facts != nullptr) {
                    if (const auto found = facts->exif.find(piece.text); found != facts->exif.end())
                        value = &found->second;
                }
                if (value == nullptr)
                    missing(Field::Exif, piece.text);
                else
                    out += Sanitized(*value);
                break;
            }
            case Field::Width:
            case Field::Height: {
                const PhotoFacts* facts = photo();
                const long value = facts == nullptr              ? 0
                                   : piece.field == Field::Width ? facts->width
                                                                 : facts->height;
                number(piece.field, static_cast<unsigned>(value), piece.text);
                break;
            }
            case Field::Size: {
                const PhotoFacts* facts = photo();
                if (facts == nullptr || facts->width <= 0 || facts->height <= 0)
                    missing(Field::Size);
                else
                    out += std::to_string(facts->width) + "x" + std::to_string(facts->height);
                break;
            }
            case Field::Title:
            case Field::Artist:
            case Field::Album: {
                const AudioFacts* facts = audio();
                const std::string* value = facts == nullptr               ? nullptr
                                           : piece.field == Field::Title  ? &facts->title
                                           : piece.field == Field::Artist ? &facts->artist
                                                                          : &facts->album;
                text(piece.field, value != nullptr ? *value : std::string());
                break;
            }
            case Field::Track:
            case Field::Disc:
            case Field::Year: {
                const AudioFacts* facts = audio();
                const unsigned value = facts == nullptr              ? 0
                                       : piece.field == Field::Track ? facts->track
                                       : piece.field == Field::Disc  ? facts->disc
                                                                     : facts->year;
                number(piece.field, value, piece.text);
                break;
            }
        }
    }
    return out;
}

}  // namespace morvane

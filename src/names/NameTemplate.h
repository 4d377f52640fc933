#pragma once
// The template step: its text parsed once into literal runs and fields, then filled in for
// each row from the row's name, place, counter and file.

#include <memory>
#include <string>
#include <vector>

#include "names/NameStep.h"

namespace morvane {

class NameTemplate final {
public:
    // Null with *error set when the text has an unknown field or an unmatched brace.
    static std::unique_ptr<NameTemplate> Compile(const TemplateStep& step, std::string* error);

    // The new name for a row whose name is now `name`. Fields the file lacks are empty and
    // named in remarks->missing; the date's fallback is a note.
    std::string Expand(const std::string& name, const NameContext& context,
                       NameRemarks* remarks) const;
    bool NumbersOnCollision() const;

    enum class Field {
        Literal,
        Name,
        Extension,
        Folder,
        Counter,
        Date,
        Exif,
        Width,
        Height,
        Size,
        Title,
        Artist,
        Album,
        Track,
        Disc,
        Year
    };
    struct Piece {
        Field field = Field::Literal;
        std::string text;  // the literal, or the field's argument (after the colon)
    };

private:
    explicit NameTemplate(const TemplateStep& step) : step_(step) {}
    std::string Counter(const NameContext& context) const;

    TemplateStep step_;
    std::vector<Piece> pieces_;
};

}  // namespace morvane

#include "ui/ListFont.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <algorithm>

#include "settings/AppSettings.h"
#include "ui/QtText.h"

namespace morvane {

namespace {

// What fontconfig gives for Japanese sans-serif text, e.g. "Noto Sans CJK JP". Qt has no
// public query by language, so fontconfig is asked directly, once.
QString JapaneseUiFamily() {
    static const QString family = [] {
        QString name;
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
        if (pattern == nullptr)
            return name;
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8* value = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
                name = QString::fromUtf8(reinterpret_cast<const char*>(value));
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        return name;
    }();
    return family;
}

}  // namespace

QString DisplayFamily(const std::string& faceName) {
    const QString face = Qs(faceName);
    if (!face.isEmpty() && QFontDatabase::hasFamily(face))
        return face;
    const QString japanese = JapaneseUiFamily();
    return QFontDatabase::hasFamily(japanese) ? japanese : face;
}

QFont FontFromDescription(const FontDescription& desc) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    const QString family = DisplayFamily(desc.faceName);
    if (!family.isEmpty())
        font.setFamily(family);
    // A negative height names the character height instead of the cell; 0 is the default.
    const int pixels = desc.size < 0 ? -desc.size : desc.size;
    if (pixels > 0)
        font.setPixelSize(pixels);
    if (desc.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(desc.weight, 1, 1000)));
    font.setItalic(desc.italic != 0);
    font.setUnderline(desc.underline != 0);
    font.setStrikeOut(desc.strikeOut != 0);
    return font;
}

void UpdateDescriptionFromChosenFont(const QFont& chosen, FontDescription* desc) {
    // Tenths of a point divided by ten, the remainder dropped.
    int points = static_cast<int>(chosen.pointSizeF());
    if (points <= 0)
        points = chosen.pixelSize();
    if (points > 0)
        desc->size = points;
    desc->weight = static_cast<int>(chosen.weight());
    desc->italic = chosen.italic() ? 1 : 0;
    desc->underline = chosen.underline() ? 1 : 0;
    desc->strikeOut = chosen.strikeOut() ? 1 : 0;
    // Accepting the face shown for a missing one keeps the stored name.
    if (chosen.family() != DisplayFamily(desc->faceName))
        desc->faceName = Utf8(chosen.family());
}

}  // namespace morvane

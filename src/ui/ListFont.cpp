#include "ui/ListFont.h"

#include <algorithm>

#include "app/AppSettings.h"
#include "ui/QtText.h"

namespace morvane {

FontSpec FontSpecFromSettings(const AppSettings& settings) {
    FontSpec spec;
    spec.size = settings.fontSize;
    spec.escapement = settings.escapement;
    spec.orientation = settings.orientation;
    spec.weight = settings.weight;
    spec.italic = settings.italic;
    spec.underline = settings.underline;
    spec.strikeOut = settings.strikeOut;
    spec.charSet = settings.charSet;
    spec.outPrecision = settings.outPrecision;
    spec.clipPrecision = settings.clipPrecision;
    spec.quality = settings.quality;
    spec.faceName = settings.faceName;
    return spec;
}

QFont FontFromSpec(const FontSpec& spec) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    if (!spec.faceName.empty())
        font.setFamily(Qs(spec.faceName));
    // A negative height names the character height instead of the cell; 0 is the default.
    const int pixels = spec.size < 0 ? -spec.size : spec.size;
    if (pixels > 0)
        font.setPixelSize(pixels);
    if (spec.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 1, 1000)));
    font.setItalic(spec.italic != 0);
    font.setUnderline(spec.underline != 0);
    font.setStrikeOut(spec.strikeOut != 0);
    return font;
}

void UpdateSpecFromChosenFont(const QFont& chosen, FontSpec* spec) {
    // Tenths of a point divided by ten, the remainder dropped.
    int points = static_cast<int>(chosen.pointSizeF());
    if (points <= 0)
        points = chosen.pixelSize();
    if (points > 0)
        spec->size = points;
    spec->weight = static_cast<int>(chosen.weight());
    spec->italic = chosen.italic() ? 1 : 0;
    spec->underline = chosen.underline() ? 1 : 0;
    spec->strikeOut = chosen.strikeOut() ? 1 : 0;
    spec->faceName = Utf8(chosen.family());
}

}  // namespace morvane

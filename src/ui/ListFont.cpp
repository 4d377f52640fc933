#include "ui/ListFont.h"

#include <algorithm>

#include "settings/AppSettings.h"
#include "ui/QtText.h"

namespace morvane {

QFont FontFromDescription(const FontDescription& desc) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    if (!desc.faceName.empty())
        font.setFamily(Qs(desc.faceName));
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
    desc->faceName = Utf8(chosen.family());
}

}  // namespace morvane

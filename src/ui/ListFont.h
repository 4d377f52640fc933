#pragma once
// The list font between the settings record and Qt.

#include <QFont>

#include "host/FontDescription.h"

namespace morvane {

// Size is the character cell height in pixels; fields Qt has no use for are ignored here
// and kept by the settings.
QFont FontFromDescription(const FontDescription& desc);
// Takes what a font dialog chose: the point size becomes the stored size.
void UpdateDescriptionFromChosenFont(const QFont& chosen, FontDescription* desc);

}  // namespace morvane

#pragma once
// The list font between the settings record and Qt.

#include <QFont>
#include <string>

#include "host/FontDescription.h"

namespace morvane {

// The family a stored face is shown in: the face itself when installed, otherwise (the Windows
// default "MS UI Gothic" included) the system's Japanese UI font.
QString DisplayFamily(const std::string& faceName);
// Size is the character cell height in pixels; fields Qt has no use for are ignored here
// and kept by the settings.
QFont FontFromDescription(const FontDescription& desc);
// Takes what a font dialog chose: the point size becomes the stored size.
void UpdateDescriptionFromChosenFont(const QFont& chosen, FontDescription* desc);

}  // namespace morvane

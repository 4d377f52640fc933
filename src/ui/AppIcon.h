#pragma once

#include <QIcon>

namespace morvane {

// The program's own icon, drawn from res/icons/morvane.svg (":/icons/morvane.svg")
// at every size the desktop asks for, so window and toolbar stay sharp at 1x and 2x.
QIcon MorvaneIcon();
// One of the program's icons in res/icons (":/icons/<name>"), drawn the same way; empty when
// there is none.
QIcon DrawnIcon(const QString& name);

}  // namespace morvane

#pragma once
// Windows that fit the screen: on a small screen, or a large one at 2× scaling, a window
// opened at its usual size would put its lower part, and its OK button, out of reach.

#include <QSize>

class QWidget;

namespace morvane {

// Sizes the top-level window to `wanted`, made smaller where it would not fit the available
// area of its screen (in the screen's own device-independent pixels, so at any scale
// factor), and keeps it inside that area. A size that fits is kept as it is.
void FitToScreen(QWidget* window, QSize wanted);
// The same for the window's present size.
void FitToScreen(QWidget* window);

}  // namespace morvane

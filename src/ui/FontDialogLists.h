#pragma once
// Qt's font dialog can list an entry twice: the Japanese translation turns both "Italic"
// and "Oblique" into "斜体", and several files of one family may name the same style.

class QFontDialog;

namespace morvane {

// Keeps each of the dialog's lists free of repeats from now on; call it before the dialog's
// font is set so the current entries are chosen among the kept ones.
void ListEachEntryOnce(QFontDialog& dialog);

}  // namespace morvane

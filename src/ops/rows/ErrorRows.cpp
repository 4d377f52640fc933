#include "ops/rows/ErrorRows.h"

#include "host/MainWindow.h"
#include "model/ListModel.h"

namespace morvane {

void ErrorRows::GoToNext(bool forward) {
    GoTo(list_.NextErrorRow(list_.FocusRow(), forward));
}

void ErrorRows::GoToFirst() {
    GoTo(list_.NextErrorRow(-1, true));
}

void ErrorRows::GoTo(int row) {
    if (row < 0)
        return;
    // A name being typed is kept before the selection leaves its row.
    window_.CommitEdit();
    list_.SetFocusRow(row);
    list_.SetSelection({row});
    window_.EnsureRowVisible(row);
}

}  // namespace morvane

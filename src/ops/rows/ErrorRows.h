#pragma once
// F8, Shift+F8 and the status bar's count of rows in error: going from one row in error to
// the next, so a long list need not be scrolled through to find them.

namespace morvane {

class ListModel;
class MainWindow;

class ErrorRows {
public:
    ErrorRows(ListModel& list, MainWindow& window) : list_(list), window_(window) {}

    // The next (previous) row in error after the focused row, wrapping round the list,
    // becomes the only selected row and the focus, in view. Nothing happens when no row is
    // in error.
    void GoToNext(bool forward);
    // The first row in error from the top.
    void GoToFirst();

private:
    void GoTo(int row);

    ListModel& list_;
    MainWindow& window_;
};

}  // namespace morvane

#pragma once
// F5: every selected row's new name becomes its 0-based position in "%08x", each set and
// checked as a typed name is.

namespace morvane {

class ListModel;
class Validation;

class RowNumbering {
public:
    RowNumbering(ListModel& list, Validation& validation) : list_(list), validation_(validation) {}

    void NumberSelectedRows();

private:
    ListModel& list_;
    Validation& validation_;
};

}  // namespace morvane

#include "ops/rows/RowNumbering.h"

#include "host/Messages.h"
#include "model/ListModel.h"
#include "rules/Validation.h"

namespace morvane {

void RowNumbering::NumberSelectedRows() {
    for (const int row : list_.SelectedRows())
        validation_.SetNewName(row, FormatText("%08x", static_cast<unsigned>(row)));
}

}  // namespace morvane

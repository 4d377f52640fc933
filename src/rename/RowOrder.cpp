#include "rename/RowOrder.h"

namespace morvane {

void RowOrder::MoveRowsUp() {}
void RowOrder::MoveRowsDown() {}
void RowOrder::SortByColumn(int) {}

}  // namespace morvane

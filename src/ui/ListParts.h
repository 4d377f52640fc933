#pragma once
// What the list on screen works with, and no more of the application: the rows, their checks
// (names typed in place, the reasons of errors), the row lock, the last sort, and the road for
// commands (keys, drops, header clicks).

namespace morvane {

class CommandSink;
class ListModel;
class RowLock;
class RowOrder;
class Validation;

struct ListParts {
    ListModel& list;
    Validation& rules;
    const RowLock& rowLock;
    const RowOrder& order;
    CommandSink& commands;
};

}  // namespace morvane

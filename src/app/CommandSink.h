#pragma once
// Where the windows send commands: the list's keys, drops and header clicks reach the command
// table through this and nothing else of the application.

#include "app/Command.h"

namespace morvane {

class CommandSink {
public:
    virtual void Execute(Command command, const CommandArgument& argument) = 0;
    void Execute(Command command) { Execute(command, CommandArgument{}); }

protected:
    ~CommandSink() = default;
};

}  // namespace morvane

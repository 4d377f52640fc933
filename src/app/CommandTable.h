#pragma once
// What each command does and the guard it passes first. The guard is written here once, so
// every road into a command (menu, toolbar, key) asks the same question the same number of
// times. Operations whose busy check or row-lock question depends on their own state (whether
// there is a folder to go up to, whether a selected row is a folder) keep it inside; the table
// does not ask again.

namespace morvane {

enum class Command;
class CMorvaneApp;

struct CommandEntry {
    Command command;
    // A held row lock is released only after the user's Yes; No ends the command.
    bool confirmUnlockRows;
    // Nothing for the commands the window carries out itself (the bars' visibility).
    void (*run)(CMorvaneApp& app);
};

// The entry of a command; every command has one.
const CommandEntry& CommandEntryOf(Command command);

}  // namespace morvane

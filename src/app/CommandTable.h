#pragma once
// What each command does and the guards it passes first, in this order: whether it applies
// at all, the busy refusal, the row-lock question. The guards are written here once, so every
// road into a command (menu, toolbar, key, drop, header) asks the same question the same
// number of times, and none asks about the lock only to be refused as busy.

namespace morvane {

enum class Command;
struct CommandArgument;
class CMorvaneApp;

// While a registration runs: whether the command waits its turn or goes ahead.
enum class WhileBusy {
    GoesAhead,  // nested registrations and the commands that change nothing on disk
    Refused,    // logged as busy; nothing else happens
    Inside,     // the command tells the user itself (its button has to be put back)
};

// When the rows are locked to the editor's text file.
enum class RowLockQuestion {
    None,    // the command keeps the tie between lines and rows
    Ask,     // it breaks the tie: the lock is released only after the user's Yes
    Inside,  // it breaks the tie only in some states, and asks then (a folder opened)
};

struct CommandEntry {
    Command command;
    // Nothing for a command that always applies; false ends it without a word (going up
    // with navigation off, opening with opening off).
    bool (*applies)(CMorvaneApp& app);
    WhileBusy whileBusy;
    RowLockQuestion rowLock;
    // Nothing for the commands the window carries out itself (the bars' visibility).
    void (*run)(CMorvaneApp& app, const CommandArgument& argument);
};

// The entry of a command; every command has one.
const CommandEntry& CommandEntryOf(Command command);

}  // namespace morvane

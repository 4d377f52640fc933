#pragma once
// The roads into the commands, as tables: the menus with their labels and access keys, the
// toolbar with its texts, icons and prompts, and the keys of the list and of the frame.

#include <QKeySequence>
#include <array>
#include <optional>
#include <vector>

#include "app/Command.h"

class QAction;
class QKeyEvent;
class QWidget;

namespace morvane {

struct MenuItemEntry {
    std::optional<Command> command;  // none: separator
    const char* label;               // with its access key
    const char* prompt;              // shown in the status bar; nullptr when it has none
};

struct MenuEntry {
    const char* title;
    std::vector<MenuItemEntry> items;
};

const std::vector<MenuEntry>& MenuTable();

struct ToolButtonEntry {
    std::optional<Command> command;  // none: separator
    const char* text;
    // The program's own icon (res/icons): desktop themes differ too much (a download arrow
    // for "save", grey symbolic icons that look disabled) to say what these buttons do.
    const char* icon;
    bool checkable;
    const char* prompt;  // status bar and tool tip; nullptr when it has none
};

// Ten items: seven buttons with separators at 3, 6 and 8.
const std::array<ToolButtonEntry, 10>& ToolBarTable();

struct KeyEntry {
    Command command;
    Qt::Key key;
    Qt::KeyboardModifiers required;  // the other modifiers may be held too
    bool inFrame;                    // also while the frame itself has the focus
};

// The keys of the list (while it has the focus itself, not its name editor).
const std::vector<KeyEntry>& KeyTable();

// The key with the required modifiers and every combination of the others.
QList<QKeySequence> KeySequencesOf(const KeyEntry& key);

// The key a menu item shows for its command: its first entry in KeyTable, with only the
// required modifiers; empty when the command has no key.
QKeySequence ShownKeyOf(Command command);

// The action of the widget that has the typed key as a shortcut; nullptr when none has. For a
// key that reaches the widget without passing the shortcut map (no widget has the focus, or
// the key was sent to the widget directly).
QAction* ActionForKey(const QWidget& widget, const QKeyEvent& event);

}  // namespace morvane

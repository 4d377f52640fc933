#pragma once
// The menu and toolbar of the main window, as tables: command IDs, labels with their access
// keys, toolbar texts and icons, and the prompts shown for a command.

#include <array>
#include <vector>

namespace morvane {

struct MenuItemSpec {
    int id;             // 0: separator
    const char* label;  // with its access key
};

struct MenuSpec {
    const char* title;
    std::vector<MenuItemSpec> items;
};

const std::vector<MenuSpec>& MenuTable();

struct ToolButtonSpec {
    int id;  // 0: separator
    const char* text;
    const char* themeIcon;  // name in the desktop's icon theme
    int standardIcon;       // QStyle::StandardPixmap used when the theme has none
    bool checkable;
};

// Ten items: seven buttons with separators at 3, 6 and 8.
const std::array<ToolButtonSpec, 10>& ToolBarTable();

// The prompt of a command in the status bar, or nullptr when it has none.
const char* CommandPrompt(int id);

}  // namespace morvane

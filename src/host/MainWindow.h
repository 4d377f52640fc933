#pragma once
// The main window as the core sees it: its life, the status panes, the list's redraws and the
// in-place name editor.

#include "host/FontDescription.h"

namespace morvane {

class MainWindow {
public:
    virtual ~MainWindow() = default;

    // Creates and shows the main window; false when it cannot be created.
    virtual bool CreateMainWindow() = 0;
    virtual void DestroyMainWindow() = 0;

    virtual void ShowRegisteredCount(int count) = 0;
    virtual void ShowRowLock(bool locked) = 0;  // status pane and toolbar button
    virtual bool EditorButtonChecked() = 0;
    virtual void SetEditorButtonChecked(bool checked) = 0;
    virtual void SetMainWindowEnabled(bool enabled) = 0;
    virtual void RedrawList() {}
    virtual void EnsureRowVisible(int /*row*/) {}
    // Sets the list font, its header, the name editor and the log to the font.
    virtual void ApplyFont(const FontDescription& /*font*/) {}

    // Ends an edit in the in-place name editor, keeping what was typed.
    virtual void CommitEdit() {}
    // Opens the in-place name editor on the focused selected row (F2).
    virtual void BeginEditSelected() {}
};

}  // namespace morvane

#pragma once
// What the core asks of the window system: questions, dialogs, progress, pumping, redraws.
// The GUI implements it with Qt; tests implement it with a scripted fake. It includes
// nothing of the project, so any layer may call it.

#include <string>
#include <vector>

namespace morvane {

// A font as the settings describe it (the fields of font creation).
struct FontSpec {
    int size = 12;  // cell height in pixels
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    int italic = 0;
    int underline = 0;
    int strikeOut = 0;
    int charSet = 128;
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 1;
    std::string faceName;
};

struct AppSettings;

class Host {
public:
    virtual ~Host() = default;

    // Log view: the text lives in the core; the view shows what is appended.
    virtual void LogAppended(const std::string& /*text*/) {}
    virtual void LogCleared() {}

    // Message boxes with a warning icon: OK only, and Yes/No (true for Yes).
    virtual void ShowWarning(const std::string& text, const std::string& caption) = 0;
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;

    // Dialogs; empty results mean the user cancelled.
    virtual std::vector<std::string> ChooseFilesToRegister() = 0;
    virtual std::string ChooseFolderToRegister(const std::string& title) = 0;
    virtual std::string ChooseListFileToLoad() = 0;
    virtual std::string ChooseListFileToSave() = 0;
    virtual bool ChooseFont(FontSpec& font) = 0;
    virtual bool RunOptionsDialog(AppSettings& settings) = 0;
    virtual void ShowAbout() = 0;

    // The progress dialog; the four setters do nothing while it has no window.
    virtual void OpenProgressDialog() = 0;
    virtual void CloseProgressDialog() = 0;
    virtual void SetOverallText(const std::string& text) = 0;
    virtual void SetOverallProgress(float fraction) = 0;
    virtual void SetDetailText(const std::string& text) = 0;
    virtual void SetDetailProgress(float fraction) = 0;

    // Status bar and main window.
    virtual void SetStatusProgress(float fraction) = 0;
    virtual void ShowRegisteredCount(int count) = 0;
    virtual void ShowRowLock(bool locked) = 0;  // status pane and toolbar button
    virtual bool EditorButtonChecked() = 0;
    virtual void SetEditorButtonChecked(bool checked) = 0;
    virtual void SetMainWindowEnabled(bool enabled) = 0;
    virtual void RedrawList() {}
    virtual void EnsureRowVisible(int /*row*/) {}
    // Sets the list font, its header, the name editor and the log to the font.
    virtual void ApplyFont(const FontSpec& /*font*/) {}

    // The in-place name editor.
    virtual void CommitEdit() {}
    virtual void BeginEditSelected() {}

    // Handles pending window events (at most once per frame); never blocks.
    virtual void Pump() = 0;
    // Handles pending events, waiting up to timeoutMs for one when there are none.
    virtual void WaitForEvents(int timeoutMs) = 0;

    // Creates and shows the main window; false when it cannot be created.
    virtual bool CreateMainWindow() = 0;
    virtual void DestroyMainWindow() = 0;

    // Type name (as a file manager shows it) and icon index of a path.
    virtual void DescribeFile(const std::string& /*path*/, bool /*isDirectory*/,
                              std::string* typeName, int* iconIndex) {
        typeName->clear();
        *iconIndex = 0;
    }
};

}  // namespace morvane

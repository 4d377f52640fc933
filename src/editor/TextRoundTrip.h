#pragma once
// Editing all new names in a text editor: export, row lock, change detection, re-import.

#include <cstdint>
#include <string>

namespace morvane {

class CMorvaneApp;

class TextRoundTrip {
public:
    explicit TextRoundTrip(CMorvaneApp& app) : app_(app) {}

    // Menu 32806 (fromToolbar false) and toolbar check button 32775 (true).
    void OnEditInTextEditor(bool fromToolbar);
    void ExportAndLock();
    void LockRows(const std::string& path);
    void UnlockRows();
    // One step of change detection; run by the main loop only.
    void PollTextFile();
    void ReimportTextFile();

private:
    CMorvaneApp& app_;
};

}  // namespace morvane

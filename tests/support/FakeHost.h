#pragma once
// A scripted Host for tests: answers questions from the scripted answers, records what the
// program showed.

#include <functional>
#include <string>
#include <vector>

#include "host/Host.h"
#include "ops/nametools/NameToolsView.h"
#include "settings/AppSettings.h"
#include "support/ScriptedAnswers.h"

namespace morvane::test {

class FakeHost : public Host, public ScriptedAnswers, public NameToolsView {
public:
    void LogAppended(const std::string& text) override { logView += text; }
    void LogCleared() override { logView.clear(); }
    void ShowWarning(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    int AskChoice(const std::string& text, const std::string& caption,
                  const std::vector<std::string>& buttons) override;
    std::vector<std::string> ChooseFilesToRegister() override;
    std::string ChooseFolderToRegister(const std::string& title) override;
    std::string ChooseListFileToLoad() override;
    std::string ChooseListFileToSave() override;
    bool ChooseFont(FontDescription& font) override;
    std::optional<Options> RunOptionsDialog(const Options& current) override;
    void ShowAbout() override { ++aboutShown; }
    bool RunNameTools(NameTools& tools) override { return AnswerNameTools(tools); }

    void OpenProgressDialog() override;
    void CloseProgressDialog() override;
    void SetOverallText(const std::string& text) override;
    void SetOverallProgress(float fraction) override;
    void SetDetailText(const std::string& text) override;
    void SetDetailProgress(float fraction) override;

    void SetStatusProgress(float fraction) override { statusProgress.push_back(fraction); }
    void ShowRegisteredCount(int count) override { registeredCount = count; }
    void ShowRowLock(bool locked) override { rowLockShown = locked; }
    bool EditorButtonChecked() override { return editorButtonChecked; }
    void SetEditorButtonChecked(bool checked) override { editorButtonChecked = checked; }
    void SetMainWindowEnabled(bool enabled) override;
    void CommitEdit() override { ++commitEditCalls; }
    void ApplyFont(const FontDescription& font) override { appliedFonts.push_back(font); }

    void HandlePendingEvents() override;
    void WaitForEvents(int timeoutMs) override;
    bool CreateMainWindow() override { return windowCreatable && (windowExists = true); }
    void DestroyMainWindow() override { windowExists = false; }
    void DescribeFile(const std::string& path, bool isDirectory, std::string* typeName,
                      int* iconIndex) override;

    // Scripted behaviour; the answers to questions and dialogs are the ScriptedAnswers'.
    std::function<void()> onPendingEvents;  // in HandlePendingEvents(): nested commands, aborts
    std::function<void()> onWaitForEvents;  // runs inside the main loop's wait
    bool windowCreatable = true;

    // What the program showed, besides the questions the ScriptedAnswers record.
    std::string logView;  // what the log view shows, rebuilt from the notifications
    bool progressOpen = false;
    int progressOpenCount = 0;
    std::string overallText, detailText;
    std::vector<float> overallProgress, detailProgress, statusProgress;
    int registeredCount = -1;
    bool rowLockShown = false;
    bool editorButtonChecked = false;
    bool windowEnabled = true;
    bool windowExists = false;
    int disableCount = 0;
    int commitEditCalls = 0;
    int pendingEventsCalls = 0;
    int aboutShown = 0;
    std::vector<FontDescription> appliedFonts;
};

}  // namespace morvane::test

#pragma once
// A Host with no windows for the benchmarks: every question is answered as scripted, every
// display call does nothing.

#include <string>
#include <vector>

#include "host/Host.h"
#include "settings/AppSettings.h"

namespace morvane::bench {

class BenchHost : public Host {
public:
    void ShowWarning(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return yes; }
    int AskChoice(const std::string&, const std::string&,
                  const std::vector<std::string>&) override {
        return choice;
    }
    std::vector<std::string> ChooseFilesToRegister() override { return files; }
    std::string ChooseFolderToRegister(const std::string&) override { return folder; }
    std::string ChooseListFileToLoad() override { return listFile; }
    std::string ChooseListFileToSave() override { return listFile; }
    bool ChooseFont(FontDescription&) override { return false; }
    std::optional<morvane::Options> RunOptionsDialog(const morvane::Options&) override {
        return std::nullopt;
    }
    void ShowAbout() override {}
    void OpenProgressDialog() override {}
    void CloseProgressDialog() override {}
    void SetOverallText(const std::string&) override {}
    void SetOverallProgress(float) override {}
    void SetDetailText(const std::string&) override {}
    void SetDetailProgress(float) override {}
    void SetStatusProgress(float) override {}
    void ShowRegisteredCount(int) override {}
    void ShowRowLock(bool) override {}
    bool EditorButtonChecked() override { return false; }
    void SetEditorButtonChecked(bool) override {}
    void SetMainWindowEnabled(bool) override {}
    void HandlePendingEvents() override {}
    void WaitForEvents(int) override {}
    bool CreateMainWindow() override { return true; }
    void DestroyMainWindow() override {}

    bool yes = true;
    int choice = 0;  // recovery at start: roll back
    std::vector<std::string> files;
    std::string folder;
    std::string listFile;
};

}  // namespace morvane::bench

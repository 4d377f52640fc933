#include "app/CMorvaneApp.h"

#include <thread>

#include "app/Commands.h"
#include "app/Host.h"
#include "app/Messages.h"
#include "platform/CodePage.h"
#include "platform/Directories.h"
#include "platform/FileSystem.h"

namespace morvane {

CMorvaneApp::CMorvaneApp(Host& h, FileSystem& f) : host(h), fs(f) {
    log.SetHost(&host);
}

CMorvaneApp::~CMorvaneApp() = default;

bool CMorvaneApp::InitInstance(const std::vector<std::string>& arguments,
                               const StartupEnvironment& environment) {
    switch (StartUp(arguments, environment)) {
        case StartResult::NoWindow:
            return false;
        case StartResult::Stopped:
            return true;  // reported in a message box
        case StartResult::Running:
            break;
    }
    RunMainLoop();
    ShutDown();
    return true;
}

CMorvaneApp::StartResult CMorvaneApp::StartUp(const std::vector<std::string>& arguments,
                                              const StartupEnvironment& environment) {
    InitLocaleCodePage();
    exeDir = environment.programDir ? *environment.programDir : ProgramDirectory();
    if (exeDir.empty()) {
        host.ShowWarning(msg::kNoProgramDir, msg::kStartupCaption);
        return StartResult::Stopped;
    }
    windowsDir = "/usr";
    systemDir = "/etc";
    tempDir = environment.tempDir ? *environment.tempDir : TempDirectory();
    if (tempDir.empty()) {
        host.ShowWarning(msg::kNoTempDir, msg::kStartupCaption);
        return StartResult::Stopped;
    }
    if (tempDir.back() != '/')
        tempDir += '/';
    settingsPath = environment.settingsPath;
    if (settingsPath.empty()) {
        settingsPath = SettingsFilePath(
            exeDir, environment.configHome.empty() ? ConfigHome() : environment.configHome);
    }
    LoadSettings(fs, settingsPath, &settings);
    if (!host.CreateMainWindow())
        return StartResult::NoWindow;
    startedUp = true;
    quitRequest = false;
    for (const auto& argument : arguments)
        listFile.LoadListFile(argument);
    return StartResult::Running;
}

void CMorvaneApp::RunMainLoop() {
    for (;;) {
        host.WaitForEvents(32);
        if (quitRequest)
            break;
        if (rowLocked)
            textRoundTrip.PollTextFile();
    }
}

void CMorvaneApp::ShutDown() {
    if (rowLocked)
        textRoundTrip.UnlockRows();
    list.RemoveAllRows();
    host.DestroyMainWindow();
    if (startedUp)
        SaveSettings(fs, settingsPath, settings);
}

bool CMorvaneApp::ConfirmUnlockRows() {
    if (!rowLocked)
        return true;
    if (!host.AskYesNo(msg::kUnlockQuestion, msg::kUnlockCaption))
        return false;
    textRoundTrip.UnlockRows();
    return true;
}

void CMorvaneApp::ShowRegisteredCount() {
    host.ShowRegisteredCount(list.RowCount());
}

void CMorvaneApp::RemoveSelectedRows() {
    host.SetStatusProgress(0.0f);
    host.SetMainWindowEnabled(false);
    host.CommitEdit();
    const std::vector<int> selected = list.SelectedRows();
    if (!selected.empty()) {
        host.EnsureRowVisible(selected.front());
        const auto n = static_cast<int>(selected.size());
        // From the last to the first, so the positions still to go keep their meaning. The
        // rows leave the indexes one by one, with their dependents corrected, and leave the
        // list in one pass at the end instead of one erase per row.
        for (int k = n - 1; k >= 0; --k) {
            const int position = selected[static_cast<std::size_t>(k)];
            validation.OnRowRemoved(position);
            FileEntry* entry = list.EntryAt(position);
            list.CurrentPathIndex().Unlink(entry);
            list.NewPathIndex().Unlink(entry);
            host.ShowRegisteredCount(list.RowCount() - (n - k));
            host.SetStatusProgress(1.0f - static_cast<float>(k) / static_cast<float>(n));
            PumpMessages();
        }
        list.RemoveRows(selected);
    }
    host.SetStatusProgress(0.0f);
    host.SetMainWindowEnabled(true);
    list.RenumberRows();
    ShowRegisteredCount();
    host.RedrawList();
}

void CMorvaneApp::RemoveAllRows() {
    host.SetMainWindowEnabled(false);
    host.CommitEdit();
    list.RemoveAllRows();
    host.SetMainWindowEnabled(true);
    list.RenumberRows();
    host.RedrawList();
    ShowRegisteredCount();
}

void CMorvaneApp::ClearAllRows() {
    RemoveAllRows();
    ClearLog();
}

void CMorvaneApp::PumpMessages() {
    host.Pump();
    if (settings.useCpuFully != 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastYield >= std::chrono::microseconds(100)) {
        std::this_thread::yield();
        lastYield = now;
    }
}

bool CMorvaneApp::RefuseWhileBusy() {
    if (!registrationBusy)
        return false;
    AppendLog(msg::kBusy);
    return true;
}

void CMorvaneApp::OnCloseMainWindow() {
    registrationBusy = false;
    quitRequest = true;
}

void CMorvaneApp::OnCloseProgressDialog() {
    if (registrationBusy)
        AppendLog(msg::kAborted);
    registrationBusy = false;
}

void CMorvaneApp::ChooseFont() {
    FontSpec font = FontOf(settings);
    if (!host.ChooseFont(font))
        return;
    StoreFont(font, &settings);
    host.ApplyFont(font);
}

void CMorvaneApp::OnOptions() {
    host.RunOptionsDialog(settings);
}

void CMorvaneApp::OnCommand(int id) {
    switch (id) {
        case CmdLoadListFile:
            listFile.OnLoadListFile();
            break;
        case CmdOverwriteSave:
            listFile.OnOverwriteSaveListFile();
            break;
        case CmdSaveListFileAs:
            listFile.OnSaveListFileAs();
            break;
        case CmdExit:
            OnCloseMainWindow();
            break;
        case CmdRegisterFiles:
        case CmdRegister:
            registration.OnRegisterFiles();
            break;
        case CmdRegisterFolder:
            registration.OnRegisterFolder();
            break;
        case CmdRemoveSelectedMenu:
        case CmdRemoveSelected:
            if (ConfirmUnlockRows())
                RemoveSelectedRows();
            break;
        case CmdClearAll:
        case CmdClear:
            if (ConfirmUnlockRows())
                ClearAllRows();
            break;
        case CmdMoveUp:
            rowOrder.MoveRowsUp();
            break;
        case CmdMoveDown:
            rowOrder.MoveRowsDown();
            break;
        case CmdChooseFont:
            ChooseFont();
            break;
        case CmdOptions:
            OnOptions();
            break;
        case CmdEditInTextEditor:
            textRoundTrip.OnEditInTextEditor(false);
            break;
        case CmdEditorButton:
            textRoundTrip.OnEditInTextEditor(true);
            break;
        case CmdRename:
            renameEngine.RenameAll();
            break;
        case CmdOpen:
            shellOpen.OpenSelectedEntries();
            break;
        case CmdGoUp:
            registration.OnGoUp();
            break;
        case CmdAbout:
            host.ShowAbout();
            break;
        default:
            break;
    }
}

}  // namespace morvane

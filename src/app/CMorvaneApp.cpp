#include "app/CMorvaneApp.h"

#include <cstdio>
#include <cstring>

#include "app/CommandTable.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "platform/CodePage.h"
#include "platform/Directories.h"
#include "platform/FileSystem.h"

namespace morvane {

CMorvaneApp::CMorvaneApp(Host& h, FileSystem& f) : host_(h), fs_(f) {
    log_.SetView(&host_);
}

CMorvaneApp::~CMorvaneApp() = default;

bool CMorvaneApp::InitInstance(const std::vector<std::string>& arguments,
                               const StartupEnvironment& environment, StartWindow window) {
    switch (StartUp(arguments, environment, window)) {
        case StartResult::NoWindow:
            return false;
        case StartResult::Stopped:
            return true;  // reported in a message box
        case StartResult::HandedOver:
            return true;
        case StartResult::Running:
            break;
    }
    RunMainLoop();
    ShutDown();
    return true;
}

CMorvaneApp::StartResult CMorvaneApp::StartUp(const std::vector<std::string>& arguments,
                                              const StartupEnvironment& environment,
                                              StartWindow window) {
    InitLocaleCodePage();
    std::string& programDir = locations_.programDir;
    programDir = environment.programDir ? *environment.programDir : ProgramDirectory(fs_);
    if (programDir.empty()) {
        host_.ShowWarning(msg::kNoProgramDir, msg::kStartupCaption);
        return StartResult::Stopped;
    }
    locations_.programPrefix = "/usr";
    locations_.configPrefix = "/etc";
    std::string& tempDir = locations_.tempDir;
    tempDir = environment.tempDir ? *environment.tempDir : TempDirectory();
    if (tempDir.empty()) {
        host_.ShowWarning(msg::kNoTempDir, msg::kStartupCaption);
        return StartResult::Stopped;
    }
    if (tempDir.back() != '/')
        tempDir += '/';
    // No state folder known: every rename run stops at its journal and says so.
    const std::string stateHome =
        environment.stateHome.empty() ? StateHome() : environment.stateHome;
    locations_.journalDir = stateHome.empty() ? std::string() : stateHome + "/morvane";
    settingsPath_ = environment.settingsPath;
    if (settingsPath_.empty()) {
        settingsPath_ = SettingsFilePath(
            fs_, programDir,
            environment.configHome.empty() ? ConfigHome() : environment.configHome);
    }
    LoadSettings(fs_, settingsPath_, &settings_);
    nameTools_.Presets().SetPathBeside(settingsPath_);
    // A start from the file manager with the setting on joins the window already open; a
    // plain start from the menu still opens a window of its own.
    const bool handOver =
        window == StartWindow::Running ||
        (window == StartWindow::AsSet && settings_.addToOpenWindow != 0 && !arguments.empty());
    if (handOver && host_.HandToRunningWindow(arguments))
        return StartResult::HandedOver;
    if (!host_.CreateMainWindow())
        return StartResult::NoWindow;
    startedUp_ = true;
    quitRequest_ = false;
    // Paths handed over from now on wait for the main loop.
    host_.AcceptHandedPaths();
    // Before anything new is loaded: a run that was cut off is mended first.
    instance_.Start(locations_.journalDir, tempDir);
    recovery_.RecoverUnfinishedRuns();
    Execute(Command::OpenPaths, CommandArgument{arguments, {}, -1});
    return StartResult::Running;
}

void CMorvaneApp::RunMainLoop() {
    for (;;) {
        host_.WaitForEvents(32);
        if (quitRequest_)
            break;
        // Only here, between commands: never inside another command's item break or dialog.
        for (const auto& paths : host_.TakeHandedPaths()) {
            Execute(Command::OpenPaths, CommandArgument{paths, {}, -1});
            if (quitRequest_)
                return;
        }
        if (rowLock_.RowLocked())
            roundTrip_.PollTextFile();
    }
}

void CMorvaneApp::ShutDown() {
    if (rowLock_.RowLocked())
        roundTrip_.UnlockRows();
    instance_.Stop();
    list_.RemoveAllRows();
    host_.DestroyMainWindow();
    // The window is gone, so the terminal or the session's journal is the one place left
    // to say that the choices of this session are lost.
    if (const std::string failure = SaveSettingsNow(); !failure.empty())
        std::fprintf(stderr, "%s\n", failure.c_str());
}

std::string CMorvaneApp::SaveSettingsNow() {
    // Before a complete start-up the record in memory is not the stored one.
    if (!startedUp_)
        return {};
    const FsStatus saved = SaveSettings(fs_, settingsPath_, settings_);
    if (saved.Ok())
        return {};
    return FormatText(msg::kSettingsNotSaved, settingsPath_.c_str(), std::strerror(saved.error));
}

void CMorvaneApp::SaveChangedSettings() {
    // A choice made in a dialog survives a crash or a killed session.
    if (const std::string failure = SaveSettingsNow(); !failure.empty())
        log_.AppendLog(failure);
}

void CMorvaneApp::OnCloseMainWindow() {
    busy_.Abort();
    quitRequest_ = true;
}

void CMorvaneApp::OnCloseProgressDialog() {
    if (busy_.Abort())
        log_.AppendLog(msg::kAborted);
}

void CMorvaneApp::ChooseFont() {
    FontDescription font = FontOf(settings_);
    if (!host_.ChooseFont(font))
        return;
    StoreFont(font, &settings_);
    host_.ApplyFont(font);
    SaveChangedSettings();
}

void CMorvaneApp::OnOptions() {
    if (const auto chosen = host_.RunOptionsDialog(OptionsOf(settings_))) {
        StoreOptions(*chosen, &settings_);
        SaveChangedSettings();
    }
}

void CMorvaneApp::Execute(Command command, const CommandArgument& argument) {
    const CommandEntry& entry = CommandEntryOf(command);
    if (entry.applies != nullptr && !entry.applies(*this))
        return;
    if (entry.whileBusy == WhileBusy::Refused && busy_.RefuseWhileBusy(log_))
        return;
    if (entry.rowLock == RowLockQuestion::Ask && !rowLock_.ConfirmUnlockRows())
        return;
    if (entry.run != nullptr)
        entry.run(*this, argument);
}

}  // namespace morvane

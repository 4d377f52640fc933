#pragma once
// The application: it builds the operations and hands each what it uses, runs start-up, the
// main loop and shut-down, and carries out the commands. It talks to the window system only
// through Host.

#include <optional>
#include <string>
#include <vector>

#include "app/Command.h"
#include "app/CommandSink.h"
#include "host/ActivityLog.h"
#include "host/Host.h"
#include "model/ListModel.h"
#include "ops/Busy.h"
#include "ops/ItemBreak.h"
#include "ops/Locations.h"
#include "ops/listfiles/ListFile.h"
#include "ops/nametools/NameTools.h"
#include "ops/recovery/RunHistory.h"
#include "ops/recovery/StartupRecovery.h"
#include "ops/recovery/UndoRun.h"
#include "ops/registration/Navigation.h"
#include "ops/registration/OpenPaths.h"
#include "ops/registration/Registration.h"
#include "ops/rename/RenameCommand.h"
#include "ops/rename/RenameEngine.h"
#include "ops/rows/RowOrder.h"
#include "ops/rows/RowRemoval.h"
#include "ops/rows/ShellOpen.h"
#include "ops/textfile/InstanceRecord.h"
#include "ops/textfile/RowLock.h"
#include "ops/textfile/TextRoundTrip.h"
#include "rules/Validation.h"
#include "settings/AppSettings.h"

namespace morvane {

class FileSystem;

// Where start-up finds its directories; tests replace them. A directory given as an empty
// text counts as one the system could not tell (start-up stops with its message).
struct StartupEnvironment {
    std::optional<std::string> programDir;  // none: the program's own folder
    std::string configHome;                 // empty: $XDG_CONFIG_HOME or ~/.config
    std::optional<std::string> tempDir;     // none: $TMPDIR or /tmp/
    std::string settingsPath;               // empty: decided from programDir and configHome
    std::string stateHome;                  // empty: $XDG_STATE_HOME or ~/.local/state
};

// Which window the paths of a start go to.
enum class StartWindow {
    AsSet,    // the one already open when the settings say so and paths are given; else new
    Running,  // the one already open, or a new one when none is
    New,      // a new one
};

class CMorvaneApp final : public CommandSink {
public:
    CMorvaneApp(Host& host, FileSystem& fs);
    CMorvaneApp(const CMorvaneApp&) = delete;
    CMorvaneApp& operator=(const CMorvaneApp&) = delete;
    ~CMorvaneApp();

    // Start-up, main loop and shut-down in one call. The arguments are full paths (see
    // OpenPaths). False only when the main window could not be created.
    bool InitInstance(const std::vector<std::string>& arguments,
                      const StartupEnvironment& environment = {},
                      StartWindow window = StartWindow::AsSet);
    // HandedOver: the window already open took the paths, and this start ends.
    enum class StartResult { Running, Stopped, NoWindow, HandedOver };
    // The parts of InitInstance, for tests that drive the program step by step.
    StartResult StartUp(const std::vector<std::string>& arguments,
                        const StartupEnvironment& environment,
                        StartWindow window = StartWindow::AsSet);
    void RunMainLoop();
    void ShutDown();
    // Writes the settings to their file, once start-up is complete. Returns the error line
    // when they could not be written, empty otherwise.
    std::string SaveSettingsNow();

    // Runs a command through the command table: its guards, then its handler. Menus, toolbar
    // buttons, keys, drops and header clicks all come here.
    void Execute(Command command, const CommandArgument& argument) override;
    using CommandSink::Execute;
    void ChooseFont();
    void OnOptions();
    // Closing the main window: only a quit request.
    void OnCloseMainWindow();
    // Closing the progress dialog: aborts a running registration.
    void OnCloseProgressDialog();
    bool QuitRequested() const { return quitRequest_; }

    // The parts the windows show and use.
    ActivityLog& Log() { return log_; }
    const ActivityLog& Log() const { return log_; }
    ListModel& List() { return list_; }
    const ListModel& List() const { return list_; }
    AppSettings& Settings() { return settings_; }
    Validation& Rules() { return validation_; }
    RowLock& Lock() { return rowLock_; }
    const RowLock& Lock() const { return rowLock_; }
    RowOrder& Order() { return rowOrder_; }
    NameTools& Tools() { return nameTools_; }
    RunHistory& History() { return history_; }
    FileSystem& Files() { return fs_; }

private:
    // The command table reaches the parts only its commands use; whole-program tests and the
    // benchmark reach the rest between commands.
    friend struct CommandParts;
    friend struct AppInternals;

    // SaveSettingsNow for a running session, whose failure goes to the activity log.
    void SaveChangedSettings();

    Host& host_;
    FileSystem& fs_;
    ActivityLog log_;
    ListModel list_;
    AppSettings settings_;
    Locations locations_;
    std::string settingsPath_;
    bool quitRequest_ = false;
    bool startedUp_ = false;  // settings are written only after a complete start-up
    BusyState busy_;
    ItemBreak itemBreak_{host_, settings_};

    RowLock rowLock_{host_};
    Validation validation_{list_, fs_, log_};
    RowRemoval removal_{list_, validation_, log_, host_, host_, itemBreak_};
    InstanceRecord instance_{fs_, log_};
    StartupRecovery recovery_{fs_, log_, host_, host_, locations_};
    TextRoundTrip roundTrip_{list_, validation_, fs_,   log_,       settings_, locations_,
                             host_, host_,       busy_, itemBreak_, instance_, rowLock_};
    Registration registration_{list_, validation_, fs_,   log_,  settings_,  locations_, host_,
                               host_, host_,       host_, busy_, itemBreak_, rowLock_};
    Navigation navigation_{registration_, removal_, fs_, log_, settings_, host_, host_};
    ShellOpen shellOpen_{list_, fs_, log_, settings_, rowLock_, navigation_};
    RenameEngine renameEngine_{fs_, log_, host_, host_, itemBreak_, locations_};
    RenameCommand renameCommand_{list_, validation_, renameEngine_, removal_, rowLock_, host_};
    UndoRun undoRun_{fs_, log_, host_, locations_, renameCommand_};
    RunHistory history_{fs_, log_, locations_, undoRun_, recovery_};
    RowOrder rowOrder_{list_, host_, rowLock_};
    ListFile listFile_{list_, validation_, fs_,        log_,          host_,
                       host_, busy_,       itemBreak_, registration_, removal_};
    NameTools nameTools_{list_, validation_, fs_, log_, host_, host_, busy_, itemBreak_};
    OpenPaths openPaths_{listFile_, registration_, fs_, log_, busy_};
};

}  // namespace morvane

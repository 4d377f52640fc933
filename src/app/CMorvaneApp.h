#pragma once
// The application object: the shared state every operation works on, start-up, the main
// loop, shut-down, and the command handlers. It talks to the window system only through Host.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ActivityLog.h"
#include "app/AppSettings.h"
#include "editor/ShellOpen.h"
#include "editor/TextRoundTrip.h"
#include "list/ListModel.h"
#include "list/Registration.h"
#include "listfile/ListFile.h"
#include "rename/RenameEngine.h"
#include "rename/RowOrder.h"
#include "rename/Validation.h"

namespace morvane {

class FileSystem;
class Host;

// Where start-up finds its directories; tests replace them. A directory given as an empty
// text counts as one the system could not tell (start-up stops with its message).
struct StartupEnvironment {
    std::optional<std::string> programDir;  // none: the program's own folder
    std::string configHome;                 // empty: $XDG_CONFIG_HOME or ~/.config
    std::optional<std::string> tempDir;     // none: $TMPDIR or /tmp/
    std::string settingsPath;               // empty: decided from programDir and configHome
};

// Change-detection state of the text file beyond its one-second time text.
struct TextFileStamp {
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known = false;
    bool operator==(const TextFileStamp&) const = default;
};

class CMorvaneApp {
public:
    CMorvaneApp(Host& host, FileSystem& fs);
    CMorvaneApp(const CMorvaneApp&) = delete;
    CMorvaneApp& operator=(const CMorvaneApp&) = delete;
    ~CMorvaneApp();

    // Start-up, main loop and shut-down in one call. False only when the main window could
    // not be created.
    bool InitInstance(const std::vector<std::string>& arguments,
                      const StartupEnvironment& environment = {});
    enum class StartResult { Running, Stopped, NoWindow };
    // The parts of InitInstance, for tests that drive the program step by step.
    StartResult StartUp(const std::vector<std::string>& arguments,
                        const StartupEnvironment& environment);
    void RunMainLoop();
    void ShutDown();

    // Log.
    void AppendLog(const std::string& message) { log.AppendLog(message); }
    void ClearLog() { log.ClearLog(); }
    // Asks to release the row lock if it holds; false when the user keeps it.
    bool ConfirmUnlockRows();

    // Row operations that involve the window.
    void RemoveSelectedRows();
    void RemoveAllRows();
    void ClearAllRows();
    void ShowRegisteredCount();

    // Handles window events between items of a long operation, then yields the processor
    // unless "CPUをフル使用" is on. A yield is a system call that costs more than many an item
    // (half a microsecond, two per row of a re-import); the scheduler deals out slices of a
    // millisecond or more, so a yield at most every 100 microseconds gives other programs the
    // same chances as one per item.
    void PumpMessages();

    // Command dispatch from the menu and toolbar.
    void OnCommand(int id);
    void ChooseFont();
    void OnOptions();
    // Closing the main window: only a quit request.
    void OnCloseMainWindow();
    // Closing the progress dialog: aborts a running registration.
    void OnCloseProgressDialog();

    bool IsBusy() const { return registrationBusy; }
    // Logs the busy message and returns true while a registration runs.
    bool RefuseWhileBusy();

    Host& host;
    FileSystem& fs;
    ActivityLog log;
    ListModel list;
    AppSettings settings;

    bool rowLocked = false;
    bool registrationBusy = false;
    std::string textFilePath;
    std::string textFileTime;
    TextFileStamp textFileStamp;     // full stamp of the last re-imported state
    TextFileStamp pendingTextStamp;  // stamp seen by the last poll, waiting to settle
    std::string exeDir;
    std::string windowsDir;  // "/usr"
    std::string systemDir;   // "/etc"
    std::string tempDir;     // ends with "/"
    std::string listFilePath;
    std::string currentFolder;
    int registrationNesting = 0;
    bool quitRequest = false;
    std::string settingsPath;
    bool startedUp = false;  // settings are written only after a complete start-up
    std::chrono::steady_clock::time_point lastYield;

    Registration registration{*this};
    Validation validation{*this};
    RenameEngine renameEngine{*this};
    RowOrder rowOrder{*this};
    TextRoundTrip textRoundTrip{*this};
    ShellOpen shellOpen{*this};
    ListFile listFile{*this};
};

}  // namespace morvane

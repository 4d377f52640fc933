#pragma once
// Turning paths into rows: files, folders, folder trees, dropped paths, drive rows, and the
// navigation that shows one folder's content.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/ListColumns.h"
#include "ops/Busy.h"
#include "platform/FileSystem.h"

namespace morvane {

class ActivityLog;
class Dialogs;
class FileDescriber;
class MainWindow;
class Progress;
class ListModel;
class ItemBreak;
class RowLock;
class Validation;
struct AppSettings;
struct Locations;

class Registration {
public:
    Registration(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
                 const AppSettings& settings, const Locations& locations, Dialogs& dialogs,
                 Progress& progress, MainWindow& window, FileDescriber& describer, BusyState& busy,
                 ItemBreak& itemBreak, RowLock& rowLock)
        : list_(list),
          validation_(validation),
          fs_(fs),
          log_(log),
          settings_(settings),
          locations_(locations),
          dialogs_(dialogs),
          progress_(progress),
          window_(window),
          describer_(describer),
          busy_(busy),
          itemBreak_(itemBreak),
          rowLock_(rowLock) {}

    // Checks the path, runs the rename test, creates its entry and appends its row.
    bool RegisterPath(const std::string& path);
    // RegisterPath for a path that becomes a row even when it is a folder and folders are
    // not registered otherwise: the rows of an undo.
    // `known`: what a look at the path just found, so it is not looked up again.
    bool RegisterPathEvenFolder(const std::string& path, const FileInfo* known);

    // Open while paths are registered: the outermost one shows the progress dialog and the
    // start and end lines, and renumbers the rows at its end.
    class Run {
    public:
        explicit Run(Registration& registration);
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;
        ~Run() { End(); }
        // Ends the run before its end of scope; a second call does nothing.
        void End();

    private:
        Registration& registration_;
        BusyGuard guard_;
    };
    void RegisterFolderTree(const std::string& folder, float share);
    // Direct entries of the folder; 0 when it cannot be read (logged) or no registration runs.
    int CountFolderEntries(const std::string& folder);

    // The row of a drive ("" for the root, else its mount point), unless it is listed.
    bool RegisterDriveRow(const std::string& drive);

    // Command handlers. A drop asks the row-lock question itself: it is no command.
    void OnDropFiles(const std::vector<std::string>& paths);
    void OnRegisterFiles();
    void OnRegisterFolder();

private:
    void BeginRegistration();
    void EndRegistration();

    // RegisterPath that also hands back what the lookup found (nullopt: not found or not
    // looked up), so a tree walk need not look again. A walk that has looked the path up
    // already passes what it found as `known`, and the path is not looked up a second time.
    bool Register(const std::string& path, std::optional<FileInfo>* found,
                  const FileInfo* known = nullptr);
    // The rename test, read without touching the file: true when the file may be renamed,
    // false when the row is locked. *folderId is the folder the file was found in.
    bool RenameTest(const std::string& path, std::string_view directory, const FileInfo& info,
                    FolderId* folderId);
    bool ListFolderCached(const std::string& folder, std::vector<ListedEntry>* entries);

    ListModel& list_;
    Validation& validation_;
    FileSystem& fs_;
    ActivityLog& log_;
    const AppSettings& settings_;
    const Locations& locations_;
    Dialogs& dialogs_;
    Progress& progress_;
    MainWindow& window_;
    FileDescriber& describer_;
    BusyState& busy_;
    ItemBreak& itemBreak_;
    RowLock& rowLock_;

    bool folderRowsAlways_ = false;  // while RegisterPathEvenFolder runs
    // The share of the detail bar the walk has filled so far.
    float progressShare_ = 0.0f;
    // The listing made by the last count, reused by the walk that follows it.
    std::string listedFolder_;
    std::vector<ListedEntry> listedEntries_;
    bool listingValid_ = false;
    // Scratch for the folder of the row being made.
    std::string folderScratch_;
    // Whether the folder's file system takes names in any case; its row keys fold case then.
    bool FoldsCaseIn(std::string_view directory);
    std::string foldsCaseFolder_;  // the folder last asked in this run, "" when none
    bool foldsCase_ = false;
    // What each folder of this registration run tells of renames in it.
    FolderRights RightsOf(const std::string& folder);
    std::unordered_map<std::string, FolderRights> rights_;
};

}  // namespace morvane

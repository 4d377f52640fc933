#pragma once
// Folder navigation: the list shows one folder's content, or the drive rows and the user's
// folders above them all.

#include <string>

namespace morvane {

class ActivityLog;
class FileSystem;
class MainWindow;
class Progress;
class Registration;
class RowRemoval;
struct AppSettings;

class Navigation {
public:
    Navigation(Registration& registration, RowRemoval& removal, FileSystem& fs, ActivityLog& log,
               const AppSettings& settings, MainWindow& window, Progress& progress)
        : registration_(registration),
          removal_(removal),
          fs_(fs),
          log_(log),
          settings_(settings),
          window_(window),
          progress_(progress) {}

    void ShowFolder(const std::string& folder);
    void ShowDrivesAndFolders();
    // Replaces the rows by the folder's content.
    void EnterFolder(const std::string& folder);
    // The folder whose content the list shows; empty at the top.
    const std::string& CurrentFolder() const { return currentFolder_; }
    void SetCurrentFolder(std::string folder) { currentFolder_ = std::move(folder); }
    // Going up is on only when folders are registered and open into the list.
    bool CanGoUp() const;
    void OnGoUp();

private:
    Registration& registration_;
    RowRemoval& removal_;
    FileSystem& fs_;
    ActivityLog& log_;
    const AppSettings& settings_;
    MainWindow& window_;
    Progress& progress_;
    std::string currentFolder_;
};

}  // namespace morvane

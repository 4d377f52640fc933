#pragma once
// Turning paths into rows: files, folders, folder trees, dropped paths, drive rows, and the
// navigation that shows one folder's content.

#include <string>
#include <vector>

namespace morvane {

class CMorvaneApp;
struct FileInfo;

class Registration {
public:
    explicit Registration(CMorvaneApp& app) : app_(app) {}

    // Checks the path, runs the rename test, creates its entry and appends its row.
    bool RegisterPath(const std::string& path);
    void BeginRegistration();
    void EndRegistration();
    void RegisterFolderTree(const std::string& folder, float share);
    int CountFolderEntries(const std::string& folder);

    void ShowFolder(const std::string& folder);
    void ShowDrivesAndFolders();
    bool RegisterDriveRow(const std::string& drive);

    // Command handlers.
    void OnDropFiles(const std::vector<std::string>& paths);
    void OnRegisterFiles();
    void OnRegisterFolder();
    void OnGoUp();

    float progressShare = 0.0f;

private:
    CMorvaneApp& app_;
};

}  // namespace morvane

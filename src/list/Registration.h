#pragma once
// Turning paths into rows: files, folders, folder trees, dropped paths, drive rows, and the
// navigation that shows one folder's content.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "list/ListColumns.h"
#include "platform/FileSystem.h"

namespace morvane {

class CMorvaneApp;

class Registration {
public:
    explicit Registration(CMorvaneApp& app) : app_(app) {}

    // Checks the path, runs the rename test, creates its entry and appends its row.
    bool RegisterPath(const std::string& path);
    void BeginRegistration();
    void EndRegistration();
    void RegisterFolderTree(const std::string& folder, float share);
    // Direct entries of the folder; 0 when it cannot be read (logged) or no registration runs.
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
    // RegisterPath that also hands back what the lookup found (nullopt: not found or not
    // looked up), so a tree walk need not look again.
    bool Register(const std::string& path, std::optional<FileInfo>* found);
    // The rename test: true when the file may be renamed, false when the row is locked.
    // `refused` is set when the file could not be given its name back.
    bool RenameTest(const std::string& path, const std::string& directory, const std::string& name,
                    const FileInfo& info, bool* refused);
    bool ListFolderCached(const std::string& folder, std::vector<std::string>* names);

    CMorvaneApp& app_;
    // The listing made by the last count, reused by the walk that follows it.
    std::string listedFolder_;
    std::vector<std::string> listedNames_;
    bool listingValid_ = false;
    // Scratch for the cell texts of the row being made.
    std::array<std::string, ColumnCount> cellTexts_;
};

// The path without trailing "/" ("/" stays "/").
std::string WithoutTrailingSlash(const std::string& path);
// folder + "/" + name, where the root folder may be given as "" or "/".
std::string JoinPath(const std::string& folder, const std::string& name);
// Attribute letters of the "属性" cell: S, R, N, H, D in this order.
std::string AttributeLetters(const FileInfo& info);
// The extension cell: what follows the last dot of the name, or empty.
std::string ExtensionOf(const std::string& name);

}  // namespace morvane

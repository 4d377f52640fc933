#pragma once
// Saving and loading the list (.mvf files) and the commands around them.

#include <string>
#include <vector>

namespace morvane {

class ActivityLog;
class BusyState;
class FileSystem;
class Dialogs;
class ListModel;
class Progress;
class ItemBreak;
class Registration;
class RowRemoval;
class Validation;

class ListFile {
public:
    ListFile(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
             Dialogs& dialogs, Progress& progress, const BusyState& busy, ItemBreak& itemBreak,
             Registration& registration, RowRemoval& removal)
        : list_(list),
          validation_(validation),
          fs_(fs),
          log_(log),
          dialogs_(dialogs),
          progress_(progress),
          busy_(busy),
          itemBreak_(itemBreak),
          registration_(registration),
          removal_(removal) {}

    // The list file the rows were last saved to or completely loaded from; empty when none.
    const std::string& ListFilePath() const { return listFilePath_; }
    void SetListFilePath(std::string path) { listFilePath_ = std::move(path); }

    bool SaveListFile(const std::string& path);
    bool LoadListFile(const std::string& path);
    void OnLoadListFile();
    void OnSaveListFileAs();
    void OnOverwriteSaveListFile();

private:
    // A record registered by a load, and the new name it gives its row.
    struct LoadedName {
        std::string path;
        std::string name;
    };

    void ReportSaveFailure(const std::string& path, int error);
    // Sets the names of the rows a load registered, all checked as one batch.
    void SetLoadedNames(const std::vector<LoadedName>& loaded);

    ListModel& list_;
    Validation& validation_;
    FileSystem& fs_;
    ActivityLog& log_;
    Dialogs& dialogs_;
    Progress& progress_;
    const BusyState& busy_;
    ItemBreak& itemBreak_;
    Registration& registration_;
    RowRemoval& removal_;

    std::string listFilePath_;
};

}  // namespace morvane

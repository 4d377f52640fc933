#pragma once
// The name tools: an ordered list of name steps applied to the selected rows (every row when
// none is selected). They only compute names; every name goes through the batch entry of the
// name rules, so the checks, the log and the rename stay as they are. The dialog edits the
// steps and shows a preview that computes only the rows it asks for.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "names/NameStep.h"
#include "ops/nametools/NamePresets.h"

namespace morvane {

class ActivityLog;
class BusyState;
class FileSystem;
class ItemBreak;
class MainWindow;
class Progress;
struct FileEntry;
class ListModel;
class NamePipeline;
class NameToolsView;
class Validation;

class NameTools {
public:
    NameTools(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
              MainWindow& window, Progress& progress, BusyState& busy, ItemBreak& itemBreak);
    ~NameTools();
    NameTools(const NameTools&) = delete;
    NameTools& operator=(const NameTools&) = delete;

    // The command: gathers the rows, opens the dialog (with the named preset's steps when one
    // is given), and applies its steps on OK.
    void OnNameTools(const std::string& preset = {});

    NamePresets& Presets() { return presets_; }
    // The dialog the command opens; without one the command ends as if it were cancelled.
    void SetView(NameToolsView* view) { view_ = view; }

    // For the dialog, while it is open.
    std::size_t TargetCount() const { return targets_.size(); }
    std::string_view CurrentName(std::size_t index) const;
    const std::vector<NameStep>& Steps() const { return steps_; }
    // Compiles the steps; the error of a step that does not compile, empty otherwise.
    const std::string& SetSteps(std::vector<NameStep> steps);
    const std::string& StepsError() const;
    struct Preview {
        std::string name;
        std::string path;  // the row's folder and the new name
        // The path's key (see MakePathKey): two previews with one key are duplicates.
        std::string key;
        // From the row alone (see Validation::ProbeName), and a duplicate of a row the tools
        // do not rename.
        std::uint32_t errors = 0;
        std::string note;     // such as the EXIF fallback
        std::string error;    // a step failed on this row: the name stays as it is
        std::string missing;  // template fields the file lacks (kept for the rows below)
    };
    Preview PreviewAt(std::size_t index);
    // Whether the tools give the row (a list position) a new name.
    bool IsTarget(int row) const;

    // Applies the steps to the gathered rows: what OK does. The names are computed first,
    // with the progress dialog, and can be stopped there; then they go to the rows in one
    // batch. A row a step fails on keeps its name and is logged. False when nothing was
    // applied (no row, a step that does not compile, or stopped).
    bool Apply();
    // The selected rows (every row when none is), less those never renamed and, when they
    // hold both files and folders, the folders unless SetIncludeFolders(true).
    void GatherTargets();
    void SetIncludeFolders(bool include) { includeFolders_ = include; }
    bool IncludeFolders() const { return includeFolders_; }
    // The rows gathered held both files and folders.
    bool MixedRows() const { return mixed_; }
    std::size_t LeftOutFolders() const { return leftOutFolders_; }

private:
    struct Target {
        int row;
        std::size_t folderIndex;  // place among the targets of the same folder
    };
    // The row's new name; where the steps number only on collisions, the first name that is
    // free, which must then be asked for in list order (see GivenAt).
    std::string NameFor(const Target& target, std::size_t listIndex, NameRemarks* remarks);
    // A file is at the path key, or a row outside the tools is to get it.
    bool Occupied(const std::string& path, const FileEntry& entry);
    // The name given to the target at index, naming the rows above it first.
    const Preview& GivenAt(std::size_t index);
    void ForgetGiven();
    static constexpr std::size_t kMostCollisionTries = 100000;
    bool IsFolderRow(int row) const;

    ListModel& list_;
    Validation& validation_;
    FileSystem& fs_;
    ActivityLog& log_;
    MainWindow& window_;
    Progress& progress_;
    BusyState& busy_;
    ItemBreak& itemBreak_;
    NameToolsView* view_ = nullptr;
    NamePresets presets_;
    std::vector<Target> targets_;
    std::vector<std::uint8_t> isTarget_;  // by row
    bool includeFolders_ = false;
    bool mixed_ = false;
    std::size_t leftOutFolders_ = 0;
    std::vector<NameStep> steps_;
    std::unique_ptr<NamePipeline> pipeline_;
    // With numbering on collisions: the keys of the names given so far, in list order, and
    // the names given to the first targets (the preview's).
    std::unordered_set<std::string> given_;
    std::vector<Preview> givenNames_;
};

}  // namespace morvane

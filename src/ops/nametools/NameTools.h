#pragma once
// The name tools: an ordered list of name steps applied to the selected rows (every row when
// none is selected). They only compute names; every name goes through the batch entry of the
// name rules, so the checks, the log and the rename stay as they are. The dialog edits the
// steps and shows a preview that computes only the rows it asks for.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "names/NameStep.h"
#include "ops/nametools/NamePresets.h"

namespace morvane {

class ActivityLog;
class FileSystem;
class MainWindow;
class ListModel;
class NamePipeline;
class NameToolsView;
class Validation;

class NameTools {
public:
    NameTools(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
              MainWindow& window);
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
        std::string note;  // such as the EXIF fallback
    };
    Preview PreviewAt(std::size_t index);
    // Whether the tools give the row (a list position) a new name.
    bool IsTarget(int row) const;

    // Gathers the rows and applies the steps to them: what OK does. False when nothing was
    // applied (no row, or a step that does not compile).
    bool Apply();
    void GatherTargets();

private:
    struct Target {
        int row;
        std::size_t folderIndex;  // place among the targets of the same folder
    };
    std::string NameFor(const Target& target, std::size_t listIndex, std::string* note);

    ListModel& list_;
    Validation& validation_;
    FileSystem& fs_;
    ActivityLog& log_;
    MainWindow& window_;
    NameToolsView* view_ = nullptr;
    NamePresets presets_;
    std::vector<Target> targets_;
    std::vector<std::uint8_t> isTarget_;  // by row
    std::vector<NameStep> steps_;
    std::unique_ptr<NamePipeline> pipeline_;
    bool usesDate_ = false;
};

}  // namespace morvane

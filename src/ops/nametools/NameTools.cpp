#include "ops/nametools/NameTools.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "host/ActivityLog.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "names/NamePipeline.h"
#include "ops/Busy.h"
#include "ops/nametools/NameToolsView.h"
#include "platform/FileSystem.h"
#include "rules/Validation.h"

namespace morvane {

NameTools::NameTools(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
                     MainWindow& window)
    : list_(list), validation_(validation), fs_(fs), log_(log), window_(window), presets_(fs) {}

NameTools::~NameTools() = default;

void NameTools::OnNameTools(const std::string& preset) {
    window_.CommitEdit();
    GatherTargets();
    if (targets_.empty()) {
        log_.AppendLog(msg::kNameToolsNoRows);
        return;
    }
    if (!presets_.Load())
        log_.AppendLog(presets_.Damage());
    const NamePreset* chosen = preset.empty() ? nullptr : presets_.Find(preset);
    SetSteps(chosen != nullptr ? chosen->steps : std::vector<NameStep>{ReplaceStep{}});
    if (view_ != nullptr && view_->RunNameTools(*this))
        Apply();
    targets_.clear();
    isTarget_.clear();
}

void NameTools::GatherTargets() {
    targets_.clear();
    const int n = list_.RowCount();
    std::vector<int> rows = list_.SelectedRows();
    if (rows.empty()) {
        rows.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            rows[static_cast<std::size_t>(i)] = i;
    }
    isTarget_.assign(static_cast<std::size_t>(n), 0);
    // Rows the rename test refused are never renamed, so they get no name either.
    std::unordered_map<std::string_view, std::size_t> perFolder;
    for (const int row : rows) {
        const FileEntry* entry = list_.EntryAt(row);
        if ((entry->errors & ErrRenameTest) != 0)
            continue;
        const std::string_view folder =
            std::string_view(entry->currentKey).substr(0, entry->dirLength);
        targets_.push_back({row, perFolder[folder]++});
        isTarget_[static_cast<std::size_t>(row)] = 1;
    }
}

std::string_view NameTools::CurrentName(std::size_t index) const {
    return list_.Cell(targets_[index].row, ColCurrentName);
}

bool NameTools::IsTarget(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < isTarget_.size() &&
           isTarget_[static_cast<std::size_t>(row)] != 0;
}

const std::string& NameTools::SetSteps(std::vector<NameStep> steps) {
    steps_ = std::move(steps);
    pipeline_ = std::make_unique<NamePipeline>(steps_);
    usesDate_ = std::any_of(steps_.begin(), steps_.end(), [](const NameStep& step) {
        const auto* date = std::get_if<DateStep>(&step);
        return date != nullptr && date->enabled;
    });
    return pipeline_->error();
}

const std::string& NameTools::StepsError() const {
    static const std::string kNone;
    return pipeline_ ? pipeline_->error() : kNone;
}

std::string NameTools::NameFor(const Target& target, std::size_t listIndex, std::string* note) {
    const FileEntry* entry = list_.EntryAt(target.row);
    NameContext context;
    context.path = entry->currentKey;
    context.listIndex = listIndex;
    context.folderIndex = target.folderIndex;
    if (usesDate_) {
        if (const auto info = fs_.Find(entry->currentKey))
            context.modified = info->mtimeSec;
    }
    return pipeline_->Apply(std::string(list_.Cell(target.row, ColCurrentName)), context, note);
}

NameTools::Preview NameTools::PreviewAt(std::size_t index) {
    Preview preview;
    const Target& target = targets_[index];
    preview.name = NameFor(target, index, &preview.note);
    preview.errors = validation_.ProbeName(target.row, preview.name);
    // Rows outside the tools keep their names, so a clash with one is certain.
    preview.path = std::string(list_.Cell(target.row, ColDirectory)) + preview.name;
    preview.key = MakePathKey(preview.path, list_.EntryAt(target.row)->foldsCase);
    list_.NewPathIndex().ForEach(preview.path, [&](FileEntry* other) {
        if (IsTarget(other->row))
            return true;
        preview.errors |= ErrDuplicate;
        return false;
    });
    return preview;
}

bool NameTools::Apply() {
    if (targets_.empty() || !pipeline_ || !pipeline_->error().empty())
        return false;
    log_.AppendLog(msg::kNameToolsStart);
    const std::size_t count = targets_.size();
    std::vector<std::string> names(count);
    std::vector<std::string> before(count);
    int fallbacks = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::string note;
        names[i] = NameFor(targets_[i], i, &note);
        fallbacks += note.empty() ? 0 : 1;
        before[i] = list_.Cell(targets_[i].row, ColNewName);
    }
    if (fallbacks > 0)
        log_.AppendLog(FormatText(msg::kNameToolsExifFallback, fallbacks));
    std::vector<NewName> batch;
    batch.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        batch.emplace_back(targets_[i].row, names[i]);
    validation_.SetNewNames(batch, NameSource::Row);
    int changed = 0;
    int inError = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int row = targets_[i].row;
        changed += list_.Cell(row, ColNewName) != before[i] ? 1 : 0;
        inError += list_.EntryAt(row)->errors != 0 ? 1 : 0;
    }
    log_.AppendLog(FormatText(msg::kNameToolsSummary, changed, inError));
    log_.AppendLog(msg::kNameToolsEnd);
    window_.RedrawList();
    return true;
}

}  // namespace morvane

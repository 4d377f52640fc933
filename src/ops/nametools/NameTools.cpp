#include "ops/nametools/NameTools.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "host/ActivityLog.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "host/Progress.h"
#include "model/ListModel.h"
#include "names/FileFacts.h"
#include "names/NamePipeline.h"
#include "ops/Busy.h"
#include "ops/ItemBreak.h"
#include "ops/nametools/NameToolsView.h"
#include "platform/FileSystem.h"
#include "rules/Validation.h"

namespace morvane {

namespace {

// The 更新日時 cell ("YYYY/MM/DD HH:MM:SS", UTC) as seconds since the epoch: the date the list
// shows, so naming by it needs no second look at the disk.
bool ParseModifiedCell(std::string_view text, std::int64_t* seconds) {
    if (text.size() != 19)
        return false;
    long long field[6] = {};
    const std::size_t at[6] = {0, 5, 8, 11, 14, 17};
    const std::size_t width[6] = {4, 2, 2, 2, 2, 2};
    for (int f = 0; f < 6; ++f) {
        for (std::size_t i = at[f]; i < at[f] + width[f]; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            field[f] = field[f] * 10 + (text[i] - '0');
        }
    }
    // Days from the civil date (Howard Hinnant's algorithm).
    const long long y = field[0] - (field[1] <= 2 ? 1 : 0);
    const long long era = y / 400;
    const long long yoe = y - era * 400;
    const long long m = field[1];
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + field[2] - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = era * 146097 + doe - 719468;
    *seconds = days * 86400 + field[3] * 3600 + field[4] * 60 + field[5];
    return true;
}

}  // namespace

NameTools::NameTools(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
                     MainWindow& window, Progress& progress, BusyState& busy, ItemBreak& itemBreak)
    : list_(list),
      validation_(validation),
      fs_(fs),
      log_(log),
      window_(window),
      progress_(progress),
      busy_(busy),
      itemBreak_(itemBreak),
      presets_(fs) {}

NameTools::~NameTools() = default;

void NameTools::OnNameTools(const std::string& preset) {
    window_.CommitEdit();
    includeFolders_ = false;  // asked anew for each run of the tools
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

bool NameTools::IsFolderRow(int row) const {
    return list_.Cell(row, ColAttributes).find('D') != std::string_view::npos;
}

void NameTools::GatherTargets() {
    targets_.clear();
    ForgetGiven();
    leftOutFolders_ = 0;
    const int n = list_.RowCount();
    std::vector<int> rows = list_.SelectedRows();
    if (rows.empty()) {
        rows.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            rows[static_cast<std::size_t>(i)] = i;
    }
    // Rows the rename test refused are never renamed, so they get no name either.
    std::erase_if(rows, [&](int row) { return (list_.EntryAt(row)->errors & ErrRenameTest) != 0; });
    // A folder registered with its files is renamed with them only when the user says so;
    // rows that are all folders are what the user means to rename.
    const auto folders = static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [&](int row) { return IsFolderRow(row); }));
    mixed_ = folders > 0 && folders < rows.size();
    if (mixed_ && !includeFolders_) {
        std::erase_if(rows, [&](int row) { return IsFolderRow(row); });
        leftOutFolders_ = folders;
    }
    isTarget_.assign(static_cast<std::size_t>(n), 0);
    std::unordered_map<std::string_view, std::size_t> perFolder;
    for (const int row : rows) {
        const FileEntry* entry = list_.EntryAt(row);
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
    ForgetGiven();
    return pipeline_->error();
}

const std::string& NameTools::StepsError() const {
    static const std::string kNone;
    return pipeline_ ? pipeline_->error() : kNone;
}

std::string NameTools::NameFor(const Target& target, std::size_t listIndex, NameRemarks* remarks) {
    const FileEntry* entry = list_.EntryAt(target.row);
    NameContext context;
    context.path = entry->currentKey;
    context.listIndex = listIndex;
    context.folderIndex = target.folderIndex;
    // Nothing is read until a step asks, and then once for all the tries below.
    FileFacts facts(fs_, entry->currentKey);
    if (std::int64_t modified = 0;
        ParseModifiedCell(list_.Cell(target.row, ColModified), &modified))
        facts.SetModified(modified);
    context.facts = &facts;
    const std::string current(list_.Cell(target.row, ColCurrentName));
    if (!pipeline_->UsesCollisions())
        return pipeline_->Apply(current, context, remarks);
    const std::string folder(list_.Cell(target.row, ColDirectory));
    for (; context.collision <= kMostCollisionTries; ++context.collision) {
        NameRemarks said;
        std::string name = pipeline_->Apply(current, context, &said);
        if (remarks != nullptr)
            *remarks = said;
        if (!said.error.empty())
            return name;
        // Where the folder folds case, "IMG.JPG" and "img.jpg" are one name.
        const std::string path = folder + name;
        std::string key = MakePathKey(path, entry->foldsCase);
        if (!given_.contains(key) && !Occupied(path, *entry)) {
            given_.insert(std::move(key));
            return name;
        }
    }
    if (remarks != nullptr)
        remarks->error = msg::kNameToolsNoFreeName;
    return current;
}

bool NameTools::Occupied(const std::string& path, const FileEntry& entry) {
    if (SameKey(path, entry.currentKey, entry.foldsCase))
        return false;  // its own name, perhaps in another case
    // A file there now, even one of the rows: numbering around it never needs a swap.
    if (fs_.Exists(path))
        return true;
    bool taken = false;
    list_.NewPathIndex().ForEach(path, [&](FileEntry* other) {
        taken = !IsTarget(other->row);
        return !taken;
    });
    return taken;
}

void NameTools::ForgetGiven() {
    given_.clear();
    givenNames_.clear();
}

const NameTools::Preview& NameTools::GivenAt(std::size_t index) {
    // Whether a name collides depends on the rows above: they are named first, in order.
    while (givenNames_.size() <= index) {
        const std::size_t i = givenNames_.size();
        Preview& given = givenNames_.emplace_back();
        NameRemarks remarks;
        given.name = NameFor(targets_[i], i, &remarks);
        given.note = std::move(remarks.note);
        given.error = std::move(remarks.error);
        given.missing = std::move(remarks.missing);
    }
    return givenNames_[index];
}

NameTools::Preview NameTools::PreviewAt(std::size_t index) {
    Preview preview;
    const Target& target = targets_[index];
    NameRemarks remarks;
    if (pipeline_->UsesCollisions()) {
        const Preview& given = GivenAt(index);
        preview.name = given.name;
        remarks.note = given.note;
        remarks.error = given.error;
        remarks.missing = given.missing;
    } else {
        preview.name = NameFor(target, index, &remarks);
    }
    preview.note = std::move(remarks.note);
    preview.error = std::move(remarks.error);
    if (!remarks.missing.empty()) {
        preview.note += (preview.note.empty() ? "" : " ") +
                        FormatText(msg::kNameToolsMissingNote, remarks.missing.c_str());
    }
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
    std::vector<std::string> failures(count);
    int fallbacks = 0;
    int lacking = 0;
    bool stopped = false;
    ForgetGiven();  // the folders may have changed since the preview looked
    // The names go to the rows by position: rows removed or reordered meanwhile (the window
    // stays usable while the progress shows) stop the run rather than misname a file.
    struct RowWatch final : ListModelObserver {
        bool moved = false;
        void RowsAboutToBeRemoved(int, int) override { moved = true; }
        void ModelAboutToBeReset() override { moved = true; }
        void LayoutAboutToChange() override { moved = true; }
    } watch;
    list_.AddObserver(&watch);
    {
        // Reading photos or tags of many files takes a while: shown, and the user may stop.
        BusyGuard guard(busy_);
        progress_.OpenProgressDialog();
        progress_.SetOverallText(msg::kNameToolsComputing);
        for (std::size_t i = 0; i < count && !stopped; ++i) {
            NameRemarks remarks;
            names[i] = NameFor(targets_[i], i, &remarks);
            fallbacks += remarks.note.empty() ? 0 : 1;
            lacking += remarks.missing.empty() ? 0 : 1;
            failures[i] = std::move(remarks.error);
            progress_.SetDetailText(names[i]);
            progress_.SetOverallProgress(static_cast<float>(i + 1) / static_cast<float>(count));
            itemBreak_();
            stopped = !busy_.Busy() || watch.moved;
        }
        // Not busy any more before the progress dialog closes: closing it aborts what runs.
        guard.Close();
        progress_.CloseProgressDialog();
    }
    list_.RemoveObserver(&watch);
    if (stopped) {
        log_.AppendLog(msg::kNameToolsStopped);
        log_.AppendLog(msg::kNameToolsEnd);
        return false;
    }
    if (fallbacks > 0)
        log_.AppendLog(FormatText(msg::kNameToolsExifFallback, fallbacks));
    if (lacking > 0)
        log_.AppendLog(FormatText(msg::kNameToolsMissingFields, lacking));
    std::vector<NewName> batch;
    batch.reserve(count);
    std::vector<std::string> before;
    before.reserve(count);
    int failed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int row = targets_[i].row;
        if (!failures[i].empty()) {
            // Never silently unchanged: the row says why it kept its name.
            const std::string path(list_.EntryAt(row)->currentKey);
            log_.AppendLog(
                FormatText(msg::kNameToolsStepFailed, failures[i].c_str(), path.c_str()));
            ++failed;
            continue;
        }
        before.emplace_back(list_.Cell(row, ColNewName));
        batch.emplace_back(row, names[i]);
    }
    validation_.SetNewNames(batch, NameSource::Row);
    int changed = 0;
    int inError = failed;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const int row = batch[i].row;
        changed += list_.Cell(row, ColNewName) != before[i] ? 1 : 0;
        inError += list_.EntryAt(row)->errors != 0 ? 1 : 0;
    }
    log_.AppendLog(FormatText(msg::kNameToolsSummary, changed, inError));
    log_.AppendLog(msg::kNameToolsEnd);
    window_.RedrawList();
    return true;
}

}  // namespace morvane

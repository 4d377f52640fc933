// The roads into registration: drops, the file dialog, the folder command, folder trees.

#include <algorithm>

#include "host/ActivityLog.h"
#include "host/Dialogs.h"
#include "host/FileDescriber.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "host/Progress.h"
#include "model/ListModel.h"
#include "ops/ItemBreak.h"
#include "ops/registration/NameOrder.h"
#include "ops/registration/Registration.h"
#include "ops/textfile/RowLock.h"
#include "platform/Paths.h"
#include "settings/AppSettings.h"

namespace morvane {

void Registration::OnDropFiles(const std::vector<std::string>& paths) {
    Run run(*this);
    const auto n = static_cast<float>(paths.size());
    bool any = false;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string path(WithoutTrailingSlashes(paths[i]));
        progress_.SetOverallText(path);
        progress_.SetOverallProgress(static_cast<float>(i) / n);
        std::optional<FileInfo> info;
        if (Register(path, &info))
            any = true;
        if (settings_.registerEverythingBelow != 0 && info && info->IsDirectory()) {
            progressShare_ = 0.0f;
            progress_.SetDetailText(msg::kSearching);
            progress_.SetDetailProgress(0.0f);
            const int count = CountFolderEntries(path);
            if (count > 0)
                RegisterFolderTree(path, 1.0f / static_cast<float>(count));
        }
        itemBreak_();
        if (!busy_.Busy())
            break;
    }
    if (!rowLock_.RowLocked() && any)
        list_.RenumberRows();
}

void Registration::OnRegisterFiles() {
    const std::vector<std::string> files = dialogs_.ChooseFilesToRegister();
    if (files.empty())
        return;
    const auto n = static_cast<float>(files.size());
    bool any = false;
    {
        Run run(*this);
        for (std::size_t k = 0; k < files.size(); ++k) {
            if (RegisterPath(files[k]))
                any = true;
            progress_.SetOverallText(files[k]);
            progress_.SetOverallProgress(static_cast<float>(k + 1) / n);
            itemBreak_();
            if (!busy_.Busy())
                break;
        }
    }
    if (any)
        list_.RenumberRows();
}

void Registration::OnRegisterFolder() {
    const std::string chosen = dialogs_.ChooseFolderToRegister(msg::kFolderTitle);
    if (chosen.empty())
        return;
    const std::string folder(WithoutTrailingSlashes(chosen));
    Run run(*this);
    progressShare_ = 0.0f;
    progress_.SetOverallText(folder);
    progress_.SetOverallProgress(1.0f);
    progress_.SetDetailText(msg::kSearching);
    progress_.SetDetailProgress(0.0f);
    RegisterPath(folder);
    const int count = CountFolderEntries(folder);
    if (count > 0)
        RegisterFolderTree(folder, 1.0f / static_cast<float>(count));
    list_.RenumberRows();
}

namespace {

// Registered in the order a file manager shows them, not the order the disk returns them.
void SortByName(std::vector<ListedEntry>* entries) {
    std::vector<std::string_view> names;
    names.reserve(entries->size());
    for (const ListedEntry& entry : *entries)
        names.emplace_back(entry.info.name);
    const std::vector<std::size_t> order = NameOrder(names);
    std::vector<ListedEntry> sorted;
    sorted.reserve(entries->size());
    for (const std::size_t i : order)
        sorted.push_back(std::move((*entries)[i]));
    *entries = std::move(sorted);
}

}  // namespace

bool Registration::ListFolderCached(const std::string& folder, std::vector<ListedEntry>* entries) {
    if (listingValid_ && listedFolder_ == folder) {
        listingValid_ = false;
        *entries = std::move(listedEntries_);
        return true;
    }
    if (!fs_.ListFolderFound(folder.empty() ? "/" : folder, entries).Ok())
        return false;
    SortByName(entries);
    return true;
}

int Registration::CountFolderEntries(const std::string& folder) {
    listingValid_ = false;
    if (!busy_.Busy())
        return 0;
    std::vector<ListedEntry> names;
    if (!fs_.ListFolderFound(folder.empty() ? "/" : folder, &names).Ok()) {
        log_.AppendLog(FormatText(msg::kFolderUnreadable, folder.c_str()));
        return 0;
    }
    SortByName(&names);
    int count = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        itemBreak_();
        ++count;
        if (!busy_.Busy())
            break;
    }
    listedFolder_ = folder;
    listedEntries_ = std::move(names);
    listingValid_ = true;
    return count;
}

void Registration::RegisterFolderTree(const std::string& folder, float share) {
    if (!busy_.Busy())
        return;
    std::vector<ListedEntry> entries;
    if (!ListFolderCached(folder, &entries)) {
        log_.AppendLog(FormatText(msg::kFolderUnreadable, folder.c_str()));
        return;
    }
    // Kept from entry to entry, so a path costs no allocation of its own.
    std::string path;
    for (const ListedEntry& entry : entries) {
        const std::string& name = entry.info.name;
        const FileInfo* info = entry.found ? &entry.info : nullptr;
        path.clear();
        AppendJoinedPath(folder, name, &path);
        if (info != nullptr && info->IsDirectory()) {
            progress_.SetOverallText(folder);
            Register(path, nullptr, info);
            const int count = CountFolderEntries(path);
            if (count > 0) {
                RegisterFolderTree(path, share / static_cast<float>(count));
            } else {
                progressShare_ += share;
                progress_.SetDetailProgress(progressShare_);
            }
        } else {
            progressShare_ += share;
            progress_.SetDetailProgress(progressShare_);
            progress_.SetDetailText(name);
            // Where the walk found nothing, the registration looks (and logs) as on its own.
            Register(path, nullptr, info);
        }
        itemBreak_();
        if (!busy_.Busy())
            return;
    }
}

}  // namespace morvane

// The roads into registration: drops, the file dialog, the folder command, folder trees.

#include "app/CMorvaneApp.h"
#include "app/Host.h"
#include "app/Messages.h"
#include "list/Registration.h"

namespace morvane {

void Registration::OnDropFiles(const std::vector<std::string>& paths) {
    if (!app_.ConfirmUnlockRows())
        return;
    BeginRegistration();
    const auto n = static_cast<float>(paths.size());
    bool any = false;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string path = WithoutTrailingSlash(paths[i]);
        app_.host.SetOverallText(path);
        app_.host.SetOverallProgress(static_cast<float>(i) / n);
        std::optional<FileInfo> info;
        if (Register(path, &info))
            any = true;
        if (app_.settings.registerEverythingBelow != 0 && info && info->IsDirectory()) {
            progressShare = 0.0f;
            app_.host.SetDetailText(msg::kSearching);
            app_.host.SetDetailProgress(0.0f);
            const int count = CountFolderEntries(path);
            if (count > 0)
                RegisterFolderTree(path, 1.0f / static_cast<float>(count));
        }
        app_.PumpMessages();
        if (!app_.registrationBusy)
            break;
    }
    if (!app_.rowLocked && any)
        app_.list.RenumberRows();
    EndRegistration();
}

void Registration::OnRegisterFiles() {
    if (!app_.ConfirmUnlockRows())
        return;
    const std::vector<std::string> files = app_.host.ChooseFilesToRegister();
    if (files.empty())
        return;
    BeginRegistration();
    const auto n = static_cast<float>(files.size());
    bool any = false;
    for (std::size_t k = 0; k < files.size(); ++k) {
        if (RegisterPath(files[k]))
            any = true;
        app_.host.SetOverallText(files[k]);
        app_.host.SetOverallProgress(static_cast<float>(k + 1) / n);
        app_.PumpMessages();
        if (!app_.registrationBusy)
            break;
    }
    EndRegistration();
    if (any)
        app_.list.RenumberRows();
}

void Registration::OnRegisterFolder() {
    const std::string chosen = app_.host.ChooseFolderToRegister(msg::kFolderTitle);
    if (chosen.empty())
        return;
    const std::string folder = WithoutTrailingSlash(chosen);
    BeginRegistration();
    progressShare = 0.0f;
    app_.host.SetOverallText(folder);
    app_.host.SetOverallProgress(1.0f);
    app_.host.SetDetailText(msg::kSearching);
    app_.host.SetDetailProgress(0.0f);
    RegisterPath(folder);
    const int count = CountFolderEntries(folder);
    if (count > 0)
        RegisterFolderTree(folder, 1.0f / static_cast<float>(count));
    app_.list.RenumberRows();
    EndRegistration();
}

bool Registration::ListFolderCached(const std::string& folder, std::vector<std::string>* names) {
    if (listingValid_ && listedFolder_ == folder) {
        listingValid_ = false;
        *names = std::move(listedNames_);
        return true;
    }
    return app_.fs.ListFolder(folder.empty() ? "/" : folder, names);
}

int Registration::CountFolderEntries(const std::string& folder) {
    listingValid_ = false;
    if (!app_.registrationBusy)
        return 0;
    std::vector<std::string> names;
    if (!app_.fs.ListFolder(folder.empty() ? "/" : folder, &names)) {
        app_.AppendLog(FormatText(msg::kFolderUnreadable, folder.c_str()));
        return 0;
    }
    int count = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        app_.PumpMessages();
        ++count;
        if (!app_.registrationBusy)
            break;
    }
    listedFolder_ = folder;
    listedNames_ = std::move(names);
    listingValid_ = true;
    return count;
}

void Registration::RegisterFolderTree(const std::string& folder, float share) {
    if (!app_.registrationBusy)
        return;
    std::vector<std::string> names;
    if (!ListFolderCached(folder, &names)) {
        app_.AppendLog(FormatText(msg::kFolderUnreadable, folder.c_str()));
        return;
    }
    for (const std::string& name : names) {
        const std::string path = JoinPath(folder, name);
        std::optional<FileInfo> info = app_.fs.Find(path);
        if (info && info->IsDirectory()) {
            app_.host.SetOverallText(folder);
            Register(path, nullptr);
            const int count = CountFolderEntries(path);
            if (count > 0) {
                RegisterFolderTree(path, share / static_cast<float>(count));
            } else {
                progressShare += share;
                app_.host.SetDetailProgress(progressShare);
            }
        } else {
            progressShare += share;
            app_.host.SetDetailProgress(progressShare);
            app_.host.SetDetailText(name);
            Register(path, nullptr);
        }
        app_.PumpMessages();
        if (!app_.registrationBusy)
            return;
    }
}

}  // namespace morvane

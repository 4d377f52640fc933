#include "list/Registration.h"

#include <memory>

#include "app/CMorvaneApp.h"
#include "app/Host.h"
#include "app/Messages.h"
#include "platform/Clock.h"
#include "platform/Utf16.h"

namespace morvane {
namespace {

constexpr std::size_t kMaxPathUnits = 32000;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string WithoutTrailingSlash(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder == "/")
        return "/" + name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string AttributeLetters(const FileInfo& info) {
    std::string letters;
    if (info.kind == FileKind::Other)
        letters += 'S';
    if (!info.ownerWritable)
        letters += 'R';
    const bool hidden = !info.name.empty() && info.name[0] == '.';
    if (letters.empty() && !hidden && !info.IsDirectory())
        letters += 'N';
    if (hidden)
        letters += 'H';
    if (info.IsDirectory())
        letters += 'D';
    return letters;
}

std::string ExtensionOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool Registration::RegisterPath(const std::string& path) {
    return Register(path, nullptr);
}

bool Registration::Register(const std::string& rawPath, std::optional<FileInfo>* found) {
    const std::string path = WithoutTrailingSlash(rawPath);
    // The root is a drive row, never a file to rename.
    if (path == "/")
        return RegisterDriveRow("");
    // Every road hands over full paths; anything else names no file we could rename safely.
    if (path.empty() || path[0] != '/')
        return false;
    std::string key = MakePathKey(path);
    bool locked = false;
    if (StartsWith(key, app_.windowsDir)) {
        app_.AppendLog(FormatText(msg::kInWindowsDir, path.c_str()));
        locked = true;
    }
    if (StartsWith(key, app_.systemDir)) {
        app_.AppendLog(FormatText(msg::kInSystemDir, path.c_str()));
        locked = true;
    }
    if (Utf16Length(path) >= kMaxPathUnits) {
        app_.AppendLog(
            FormatText(msg::kPathTooLong, static_cast<int>(kMaxPathUnits), path.c_str()));
        return false;
    }
    std::optional<FileInfo> info = app_.fs.Find(path);
    if (found != nullptr)
        *found = info;
    if (!info)
        return false;
    if (info->IsDirectory() && app_.settings.registerFolders == 0)
        return false;

    std::string typeName;
    int icon = 0;
    app_.host.DescribeFile(path, info->IsDirectory(), &typeName, &icon);
    const std::string& name = info->name;
    const std::string directory = path.substr(0, path.size() - name.size());

    const std::uint32_t keyHash = FullPathHash(key);
    if (app_.list.CurrentPathIndex().Find(key, keyHash) != nullptr)
        return false;

    if (!locked) {
        bool refused = false;
        locked = !RenameTest(path, directory, name, *info, &refused);
        if (refused)
            return false;
    }

    // The chains the row goes into load while it is built; it is linked in last.
    app_.list.CurrentPathIndex().Prefetch(keyHash, 0);
    app_.list.NewPathIndex().Prefetch(keyHash, 0);
    auto row = std::make_unique<ListRow>();
    FileEntry& entry = row->entry;
    entry.errors = locked ? std::uint32_t{ErrRenameTest} : 0u;
    entry.currentKey = std::move(key);
    entry.newKey = entry.currentKey;
    entry.newPath = path;
    entry.dirLength = static_cast<std::uint16_t>(Utf16Length(directory));

    row->icon = icon;
    // Built in texts that keep their room from row to row, then copied into the row's block.
    auto& cells = cellTexts_;
    cells[ColIcon].clear();
    cells[ColCurrentName] = name;
    cells[ColNewName] = name;
    cells[ColCharCount] = std::to_string(Utf16Length(name));
    cells[ColSize] = std::to_string(info->size);
    cells[ColType] = typeName;
    cells[ColModified] = FormatUtc(info->mtimeSec);
    cells[ColRowNumber] = std::to_string(app_.list.RowCount() + 1);
    cells[ColError].clear();
    cells[ColDirectory] = directory;
    cells[ColExtension] = ExtensionOf(name);
    cells[ColAttributes] = AttributeLetters(*info);
    row->cells.Assign(cells);
    app_.list.CurrentPathIndex().Insert(&entry, keyHash);
    app_.list.NewPathIndex().Insert(&entry, keyHash);
    const int position = app_.list.AppendRow(std::move(row));

    app_.ShowRegisteredCount();
    app_.validation.OnRowRegistered(position);
    return true;
}

bool Registration::RenameTest(const std::string& path, const std::string& directory,
                              const std::string& name, const FileInfo& info, bool* refused) {
    *refused = false;
    // Never move anything at the top of the file system for a trial: a direct child of "/"
    // or a mount point would vanish for a moment under every running program.
    bool topLevel = directory == "/";
    if (!topLevel && info.IsDirectory()) {
        const auto parent = app_.fs.Find(WithoutTrailingSlash(directory));
        topLevel = !parent || parent->device != info.device;
    }
    if (topLevel) {
        app_.AppendLog(FormatText(msg::kRenameTestFailed, path.c_str()));
        return false;
    }
    const std::string folder = directory.substr(0, directory.size() - 1);
    std::uint32_t counter = 0;
    std::string temp;
    do {
        temp = FormatText("%s/%08x[MORVANE]_%s", folder.c_str(), counter++, name.c_str());
    } while (app_.fs.Exists(temp));
    if (app_.fs.Move(path, temp) != 0) {
        app_.AppendLog(FormatText(msg::kRenameTestFailed, path.c_str()));
        return false;
    }
    if (app_.fs.Move(temp, path) != 0) {
        app_.AppendLog(FormatText(msg::kRenameBackFailed, path.c_str(), temp.c_str()));
        *refused = true;
        return false;
    }
    return true;
}

void Registration::BeginRegistration() {
    if (app_.registrationNesting == 0) {
        app_.registrationBusy = true;
        app_.host.OpenProgressDialog();
        app_.ClearLog();
        app_.AppendLog(msg::kRegisterStart);
    }
    ++app_.registrationNesting;
}

void Registration::EndRegistration() {
    if (--app_.registrationNesting > 0)
        return;
    app_.registrationNesting = 0;
    app_.registrationBusy = false;
    app_.host.CloseProgressDialog();
    app_.list.RenumberRows();
    app_.AppendLog(msg::kRegisterEnd);
    app_.host.SetStatusProgress(0.0f);
}

}  // namespace morvane

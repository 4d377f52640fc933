#pragma once
// Rows made directly in the model through the list's own row builder, as registration makes
// them, for tests of the model and the row operations that must not depend on registration.

#include <optional>
#include <string>

#include "model/ListModel.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace morvane::test {

// The row of the file at `path`, which need not exist (it then reads as an empty file).
inline int AppendFileRow(ListModel& list, const std::string& path, int icon = 0) {
    FileSystem& fs = RealFileSystem();
    std::optional<FileInfo> info = fs.Find(path);
    if (!info) {
        info.emplace();
        info->name = NameOf(path);
    }
    FolderId folderId;
    if (const auto folder = fs.FindTarget(std::string(FolderOf(path))))
        folderId = {folder->device, folder->inode};
    return list.AppendFileRow({MakePathKey(path), &*info, {}, icon, false, folderId});
}

}  // namespace morvane::test

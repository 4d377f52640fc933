#pragma once
// Rows made directly in the model, as registration leaves them (entry in both indexes, twelve
// cells), for tests of the model and the row operations that must not depend on registration.

#include <array>
#include <memory>
#include <string>

#include "model/ListModel.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Utf16.h"

namespace morvane::test {

inline int AppendFileRow(ListModel& list, const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string directory = path.substr(0, slash + 1);
    const std::string name = path.substr(slash + 1);
    const auto info = RealFileSystem().Find(path);
    auto row = std::make_unique<ListRow>();
    FileEntry& e = row->entry;
    e.currentKey = MakePathKey(path);
    e.dirLength = static_cast<std::uint16_t>(Utf16Length(directory));
    if (const auto folder = RealFileSystem().FindTarget(directory))
        e.folderId = {folder->device, folder->inode};
    std::array<std::string, ColumnCount> cells;
    cells[ColCurrentName] = name;
    cells[ColNewName] = name;
    cells[ColCharCount] = std::to_string(Utf16Length(name));
    cells[ColSize] = info ? std::to_string(info->size) : "0";
    cells[ColModified] = info ? FormatUtc(info->mtimeSec) : "";
    cells[ColRowNumber] = std::to_string(list.RowCount() + 1);
    cells[ColDirectory] = directory;
    row->cells.Assign(cells);
    list.CurrentPathIndex().Insert(&e);
    list.NewPathIndex().Insert(&e);
    return list.AppendRow(std::move(row));
}

}  // namespace morvane::test

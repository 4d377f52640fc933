#pragma once
// The one way a row of the list is made: from a file as the disk describes it, or for a
// drive (the root, a mounted medium). Registration, navigation and the tests all make their
// rows here, so a row looks the same whoever made it.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/ListColumns.h"
#include "platform/FileSystem.h"
#include "platform/FolderHandle.h"

namespace morvane {

struct ListRow;

// A file about to become a row.
struct FileRowFacts {
    std::string key;  // MakePathKey of its path
    const FileInfo* info = nullptr;
    std::string_view typeName;  // the type cell
    int icon = 0;
    bool locked = false;  // never renamed (ErrRenameTest) from the start
    FolderId folderId;
    bool foldsCase = false;  // its folder's file system is case-insensitive
};

class RowBuilder {
public:
    // The row of a file; its folder and names are read from its paths. `typeNumber` is the
    // list's number for the type name (0: the cell keeps the text), `rowNumber` its "行".
    std::unique_ptr<ListRow> FileRow(FileRowFacts&& facts, std::uint16_t typeNumber, int rowNumber);
    // The row of a drive: "" for the root, else the mount point.
    static std::unique_ptr<ListRow> DriveRow(const std::string& drive, int rowNumber);

private:
    // Built in texts that keep their room from row to row, then copied into the row's block.
    std::array<std::string, ColumnCount> cells_;
};

// Attribute letters of the "属性" cell: S, R, N, H, D in this order.
std::string AttributeLetters(const FileInfo& info);

}  // namespace morvane

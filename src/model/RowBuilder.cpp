#include "model/RowBuilder.h"

#include "model/ListModel.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Utf16.h"

namespace morvane {
namespace {

// A drive row is a place to go into, never a file to rename. It reads as a folder of size 0.
// Its folder part counts as two characters, so the name editor leaves it the same room as any
// row one level down.
constexpr std::uint32_t kDriveRowErrors = ErrRenameTest;
constexpr std::uint16_t kDriveRowDirLength = 2;
constexpr std::string_view kDriveRowSize = "0";
constexpr std::string_view kDriveRowDirectoryMark = "D";  // what the folder column shows

}  // namespace

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

std::unique_ptr<ListRow> RowBuilder::FileRow(FileRowFacts&& facts, std::uint16_t typeNumber,
                                             int rowNumber) {
    const FileInfo& info = *facts.info;
    const std::string& name = info.name;
    auto row = std::make_unique<ListRow>();
    FileEntry& entry = row->entry;
    entry.errors = facts.locked ? std::uint32_t{ErrRenameTest} : 0u;
    entry.currentKey = std::move(facts.key);
    const std::string_view directory =
        std::string_view(entry.currentKey).substr(0, entry.currentKey.size() - name.size());
    entry.dirLength = static_cast<std::uint16_t>(Utf16Length(directory));
    entry.folderId = facts.folderId;
    entry.foldsCase = facts.foldsCase;

    row->icon = facts.icon;
    auto& cells = cells_;
    cells[ColIcon].clear();
    // The folder and both names are read from the path.
    cells[ColCurrentName].clear();
    cells[ColNewName].clear();
    cells[ColDirectory].clear();
    cells[ColCharCount] = std::to_string(Utf16Length(name));
    cells[ColSize] = std::to_string(info.size);
    row->typeName = typeNumber;
    if (typeNumber == 0)
        cells[ColType] = facts.typeName;
    else
        cells[ColType].clear();
    FormatUtc(info.mtimeSec, &cells[ColModified]);
    cells[ColRowNumber] = std::to_string(rowNumber);
    cells[ColError].clear();
    cells[ColExtension] = ExtensionCell(name);
    cells[ColAttributes] = AttributeLetters(info);
    row->cellsFromPaths = true;
    row->cells.Assign(cells);
    return row;
}

std::unique_ptr<ListRow> RowBuilder::DriveRow(const std::string& drive, int rowNumber) {
    auto row = std::make_unique<ListRow>();
    FileEntry& entry = row->entry;
    entry.errors = kDriveRowErrors;
    entry.currentKey = MakePathKey(drive);
    entry.dirLength = kDriveRowDirLength;
    row->icon = kDriveIconIndex;
    const std::string shown = drive.empty() ? "/" : drive;
    std::array<std::string_view, ColumnCount> cells{};
    const std::string number = std::to_string(rowNumber);
    cells[ColCurrentName] = shown;
    cells[ColNewName] = shown;
    cells[ColSize] = kDriveRowSize;
    cells[ColRowNumber] = number;
    cells[ColDirectory] = kDriveRowDirectoryMark;
    row->cells.Assign(cells);
    return row;
}

}  // namespace morvane

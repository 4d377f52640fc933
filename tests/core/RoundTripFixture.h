#pragma once
// A list of real files in a temporary folder with the text round trip wired to it: the
// temporary directory inside the folder and an editor that does nothing.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/RowsFixture.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/textfile/InstanceRecord.h"
#include "ops/textfile/TextRoundTrip.h"
#include "platform/Paths.h"

namespace morvane::test {

// The new name of every row, in list order.
inline std::vector<std::string> NewNamesOf(const ListModel& list) {
    std::vector<std::string> names;
    for (int r = 0; r < list.RowCount(); ++r)
        names.emplace_back(list.Cell(r, ColNewName));
    return names;
}

// One message of the log per element, the empty lines between them dropped.
inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty())
            lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

class RoundTripFixture : public ::testing::Test, protected RowsFixture {
protected:
    RoundTripFixture() {
        places.tempDir = dir.MakeFolder("tmp") + "/";
        settings.useExternalEditor = 1;
        settings.editorPath = "true";
    }

    // Makes files/<relative> (a folder when it ends with "/") and gives it its row; returns
    // the row.
    int AddFile(const std::string& relative) { return AddRow("files/" + relative); }

    // AddFile for a file kept from renaming from the start, as one whose rename test failed.
    int AddLockedFile(const std::string& relative) {
        const std::string path = dir.MakeFile("files/" + relative, "");
        const std::optional<FileInfo> info = fs.Find(path);
        EXPECT_TRUE(info.has_value()) << path;
        if (!info)
            return -1;
        FolderId folderId;
        if (const auto folder = fs.FindTarget(std::string(FolderOf(path))))
            folderId = {folder->device, folder->inode};
        const int row = list.AppendFileRow({MakePathKey(path), &*info, {}, 0, true, folderId});
        validation.OnRowRegistered(row);
        return row;
    }

    // Writes the text file in place, as an editor that overwrites its file does.
    void Save(const std::string& content) {
        std::ofstream out(roundTrip.TextFilePath(), std::ios::binary | std::ios::trunc);
        out << content;
    }

    // Saves and lets the main loop see the change settle.
    void SaveAndPoll(const std::string& content) {
        Save(content);
        roundTrip.PollTextFile();
        roundTrip.PollTextFile();
    }

    std::vector<std::string> NewNames() const { return NewNamesOf(list); }
    std::uint32_t Errors(int row) { return list.EntryAt(row)->errors; }
    std::vector<std::string> LogLines() const { return LinesOf(log.Text()); }

    // The forbidden-character line for a folder on a Linux file system.
    static std::string Forbidden(int number, const std::string& shown) {
        return FormatText(msg::kForbidden, number, shown.c_str()) +
               FormatText(msg::kRefusedHere, "/ と NUL と改行");
    }

    Locations places;
    BusyState busy;
    InstanceRecord instance{fs, log};
    TextRoundTrip roundTrip{list, validation, fs,   log,       settings, places,
                            host, host,       busy, itemBreak, instance, rowLock};
};

}  // namespace morvane::test

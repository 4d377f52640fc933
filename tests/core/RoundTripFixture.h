#pragma once
// A list of real files in a temporary folder with the text round trip wired to it: the
// temporary directory inside the folder and an editor that does nothing.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "host/Messages.h"
#include "model/ListModel.h"
#include "support/AppFixture.h"

namespace morvane::test {

class RoundTripFixture : public AppFixture, public ::testing::Test {
protected:
    RoundTripFixture() {
        app.Settings().openOnSelection = 0;
        app.Settings().folderNavigation = 0;
        app.Places().tempDir = dir.MakeFolder("tmp") + "/";
        app.Settings().useExternalEditor = 1;
        app.Settings().editorPath = "true";
    }

    // Makes files/<relative> (a folder when it ends with "/"), registers it and returns its
    // row.
    int AddFile(const std::string& relative) {
        std::string path;
        if (relative.back() == '/') {
            path = dir.MakeFolder("files/" + relative.substr(0, relative.size() - 1));
        } else {
            path = dir.MakeFile("files/" + relative, "");
        }
        EXPECT_TRUE(app.Registrar().RegisterPath(path)) << path;
        return app.List().RowCount() - 1;
    }

    // Writes the text file in place, as an editor that overwrites its file does.
    void Save(const std::string& content) {
        std::ofstream out(app.RoundTrip().TextFilePath(), std::ios::binary | std::ios::trunc);
        out << content;
    }

    // Saves and lets the main loop see the change settle.
    void SaveAndPoll(const std::string& content) {
        Save(content);
        app.RoundTrip().PollTextFile();
        app.RoundTrip().PollTextFile();
    }

    std::vector<std::string> NewNames() const {
        std::vector<std::string> names;
        for (int r = 0; r < app.List().RowCount(); ++r)
            names.emplace_back(app.List().Cell(r, ColNewName));
        return names;
    }

    std::uint32_t Errors(int row) { return app.List().EntryAt(row)->errors; }

    // The log without the reimport banners' varying time text, one message per element.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        const std::string& text = app.Log().Text();
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::string line =
                text.substr(start, end == std::string::npos ? end : end - start);
            if (!line.empty())
                lines.push_back(line);
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        return lines;
    }
};

}  // namespace morvane::test

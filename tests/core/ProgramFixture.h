#pragma once
// The whole program over files of a temporary folder, with the text round trip's temporary
// directory inside it and an editor that does nothing: for the tests of what only the program
// as a whole does (the command table's guards, the main loop, shut-down).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/AppInternals.h"
#include "core/RoundTripFixture.h"
#include "support/AppFixture.h"

namespace morvane::test {

class ProgramFixture : public AppFixture, public ::testing::Test {
protected:
    ProgramFixture() {
        app.Settings().openOnSelection = 0;
        app.Settings().folderNavigation = 0;
        AppInternals::Places(app).tempDir = dir.MakeFolder("tmp") + "/";
        app.Settings().useExternalEditor = 1;
        app.Settings().editorPath = "true";
    }

    // Makes files/<relative> (a folder when it ends with "/"), registers it and returns its
    // row.
    int AddFile(const std::string& relative) {
        const int row = Add("files/" + relative);
        EXPECT_GE(row, 0) << relative;
        return row;
    }

    std::vector<std::string> NewNames() const { return NewNamesOf(app.List()); }
    std::uint32_t Errors(int row) { return app.List().EntryAt(row)->errors; }
    std::vector<std::string> LogLines() const { return LinesOf(app.Log().Text()); }
};

}  // namespace morvane::test

#pragma once
// A program without windows over a real temporary folder: the fixture most core tests use.

#include <memory>
#include <string>

#include "app/CMorvaneApp.h"
#include "host/Messages.h"
#include "support/FakeHost.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

namespace morvane::test {

struct AppFixture {
    AppFixture();

    // Creates dir/relative (a file unless it ends with "/") and registers it; the new row's
    // position, or -1 when registration refused it.
    int Add(const std::string& relative, const std::string& content = "");
    int RowOf(const std::string& relative);  // position of the row registered for dir/relative
    std::uint32_t Bits(int row) { return app.List().EntryAt(row)->errors; }
    std::uint32_t BitsOf(const std::string& relative) { return Bits(RowOf(relative)); }
    const std::string& Log() const { return app.Log().Text(); }
    // The forbidden-character line for a folder on a Linux file system.
    static std::string Forbidden(int number, const std::string& shown) {
        return FormatText(msg::kForbidden, number, shown.c_str()) +
               FormatText(msg::kRefusedHere, "/ と NUL と改行");
    }

    TempDir dir;
    TempDir state;  // the journal folder lies in it
    FakeHost host;
    FaultFileSystem fs;
    CMorvaneApp app{host, fs};
};

}  // namespace morvane::test

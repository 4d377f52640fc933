// A rename run in a process of its own that kills itself at a chosen point, for the crash
// tests of recovery.
//
//   morvane_rename_child <journal folder> <list> <kill point>
//
// The list holds one "path<TAB>new name" line per row. The process dies of SIGKILL just
// before move number <kill point> of the files (counted from 0; moves in the journal folder
// do not count), or with -1 just before the plan is written into the journal it created. A
// kill point past the last move lets the run end; then it prints the number of moves.
// With MORVANE_INVENT_INODES set in its environment, the file system makes up inode numbers
// as sshfs does.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "support/FakeHost.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

using namespace morvane;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <journal folder> <list> <kill point>\n", argv[0]);
        return 2;
    }
    const std::string journalDir = argv[1];
    const long killAt = std::strtol(argv[3], nullptr, 10);

    test::FakeHost host;
    test::FaultFileSystem fs;
    if (std::getenv("MORVANE_INVENT_INODES") != nullptr)
        fs.InventInodes();
    CMorvaneApp app{host, fs};
    AppInternals::Places(app).programPrefix = "/usr";
    AppInternals::Places(app).configPrefix = "/etc";
    AppInternals::Places(app).tempDir = journalDir + "/";
    AppInternals::Places(app).journalDir = journalDir;
    app.Settings().registerFolders = 1;

    std::vector<std::string> paths, names;
    std::ifstream list(argv[2]);
    for (std::string line; std::getline(list, line);) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        paths.push_back(line.substr(0, tab));
        names.push_back(line.substr(tab + 1));
    }
    for (const std::string& path : paths) {
        if (!AppInternals::Registrar(app).RegisterPath(path)) {
            std::fprintf(stderr, "not registered: %s\n", path.c_str());
            return 1;
        }
    }
    app.List().RenumberRows();
    std::vector<NewName> changes;
    changes.reserve(names.size());
    for (std::size_t row = 0; row < names.size(); ++row)
        changes.emplace_back(static_cast<int>(row), names[row]);
    app.Rules().SetNewNames(changes, NameSource::Row);

    const std::string inJournal = journalDir + "/";
    long moves = 0;
    fs.beforeMove = [&](const std::string& from, const std::string&) {
        if (from.rfind(inJournal, 0) == 0)
            return;
        if (moves++ == killAt)
            kill(getpid(), SIGKILL);
    };
    if (killAt < 0) {
        // The journal's first write after it was created: the plan itself.
        fs.failWrite = [&](const std::string& path) {
            if (path.rfind(inJournal, 0) == 0 && test::PathExists(path))
                kill(getpid(), SIGKILL);
            return 0;
        };
    }
    host.yesNoAnswers.push_back(true);
    app.Execute(Command::Rename);
    std::printf("%ld\n", moves);
    return app.List().RowCount() == 0 ? 0 : 1;  // rows left: some file was not renamed
}

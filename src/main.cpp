// Morvane: renames many files and folders at once.

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/CMorvaneApp.h"
#include "platform/ArgumentPaths.h"
#include "platform/FileSystem.h"
#include "platform/LargePages.h"
#include "platform/ReadToEnd.h"
#include "ui/AppIcon.h"
#include "ui/CommandLine.h"
#include "ui/QtHost.h"
#include "ui/Translations.h"

int main(int argc, char** argv) {
    morvane::StartWithLargePages(argv);
    // Before any window: --help, --version and a wrong option need no display.
    const morvane::CommandLine line = morvane::ParseCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), morvane::CurrentDirectory(),
        morvane::EnglishMessages(), [](std::string* text) { return morvane::ReadToEnd(0, text); });
    switch (line.action) {
        case morvane::CommandLine::Action::Help:
        case morvane::CommandLine::Action::Version:
            std::fputs(line.output.c_str(), stdout);
            return 0;
        case morvane::CommandLine::Action::Error:
            std::fputs(line.output.c_str(), stderr);
            return morvane::kCommandLineErrorStatus;
        case morvane::CommandLine::Action::Start:
            break;
    }

    // Every argument is ours: Qt would take a file named "-style" for its own option.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(morvane::MorvaneIcon());
    morvane::InstallQtTranslations(application);

    morvane::QtHost host;
    morvane::CMorvaneApp app(host, morvane::RealFileSystem());
    host.SetApp(&app);
    return app.InitInstance(line.paths, {}, line.window) ? 0 : 1;
}

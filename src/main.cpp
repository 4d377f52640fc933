// Morvane: renames many files and folders at once.

#include <QApplication>
#include <string>
#include <vector>

#include "app/CMorvaneApp.h"
#include "platform/FileSystem.h"
#include "platform/LargePages.h"
#include "ui/AppIcon.h"
#include "ui/QtHost.h"
#include "ui/Translations.h"

int main(int argc, char** argv) {
    morvane::StartWithLargePages(argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(morvane::MorvaneIcon());
    morvane::InstallQtTranslations(application);

    morvane::QtHost host;
    morvane::CMorvaneApp app(host, morvane::RealFileSystem());
    host.SetApp(&app);
    // Qt has taken its own options out of argv; the rest are list files, as raw bytes.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return app.InitInstance(arguments) ? 0 : 1;
}

#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace morvane {

void InstallQtTranslations(QCoreApplication& app) {
    // Owned by the application so it lives exactly as long as the texts are needed.
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
        app.installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace morvane

#pragma once

class QCoreApplication;

namespace morvane {

// Loads Qt's own Japanese texts (qtbase_ja) into the application, so the
// standard buttons and dialogs read はい / いいえ / キャンセル / 開く like the
// rest of the program. The whole user interface is Japanese, whatever the locale.
// Without the Qt translations installed the standard texts simply stay English.
void InstallQtTranslations(QCoreApplication& app);

}  // namespace morvane

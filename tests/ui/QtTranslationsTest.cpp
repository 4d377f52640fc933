// Qt's own texts (standard buttons, file dialog) must read in Japanese like the
// rest of the program once the Qt translations are installed.

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "host/FontDescription.h"
#include "ui/QtHost.h"
#include "ui/Translations.h"

namespace {

// "はい(&Y)" -> "はい": the mnemonic is decoration, the word is what the user reads.
QString Plain(QString text) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
    text.remove(mnemonic);
    text.remove(QLatin1Char('&'));
    return text.trimmed();
}

}  // namespace

class QtTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(Plain(QMessageBox::tr("&Yes")) != QStringLiteral("はい"),
                 "translations must not be loaded before the test installs them");
        morvane::InstallQtTranslations(*QCoreApplication::instance());
    }

    void messageBoxButtonsAreJapanese() {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("作業の確認"),
                        QStringLiteral("行ロックを解除してもいいですか？"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(Plain(box.button(QMessageBox::Yes)->text()), QStringLiteral("はい"));
        QCOMPARE(Plain(box.button(QMessageBox::No)->text()), QStringLiteral("いいえ"));
        QCOMPARE(Plain(box.button(QMessageBox::Cancel)->text()), QStringLiteral("キャンセル"));
    }

    void fileDialogAcceptButtonReadsOpen() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFileDialog dialog(nullptr, QStringLiteral("読み込み"), folder.path(),
                           QStringLiteral("Morvane Format(*.mvf)"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons != nullptr);
        QPushButton* open = buttons->button(QDialogButtonBox::Open);
        QVERIFY(open != nullptr);
        QCOMPARE(Plain(open->text()), QStringLiteral("開く"));
        QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
        QVERIFY(cancel != nullptr);
        QCOMPARE(Plain(cancel->text()), QStringLiteral("キャンセル"));
        dialog.reject();
    }

    void fontDialogListsEachEntryOnceForEveryFamily() {
        // "Sans Serif" has no style names of its own: Qt names them, "斜体" twice in Japanese.
        QStringList repeats;
        QStringList sansSerifStyles;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            for (const QString& family : QFontDatabase::families()) {
                dialog->setCurrentFont(QFont(family));
                for (QListView* view : dialog->findChildren<QListView*>()) {
                    QStringList entries;
                    for (int row = 0; row < view->model()->rowCount(); ++row)
                        entries << view->model()->index(row, 0).data().toString();
                    if (entries.removeDuplicates() > 0)
                        repeats << family;
                    if (family == QStringLiteral("Sans Serif") && entries.contains("標準"))
                        sansSerifStyles = entries;
                }
            }
            dialog->reject();
        });
        morvane::QtHost host;
        morvane::FontDescription font;
        QVERIFY(!host.ChooseFont(font));
        QCOMPARE(repeats, QStringList());
        QVERIFY2(sansSerifStyles.contains("斜体"), qPrintable(sansSerifStyles.join(',')));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"

// The dialogs: options, progress, font, message boxes and the about box, run for real.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include "app/AppInternals.h"
#include "ui/ElidedLabel.h"
#include "ui/ProgressStrip.h"

#include "UiTestSupport.h"
#include "app/Command.h"
#include "host/Messages.h"
#include "ops/registration/ChosenPath.h"
#include "ui/DialogOption.h"
#include "ui/DialogProcess.h"
#include "ui/ElidedLabel.h"
#include "ui/MainStatusBar.h"
#include "ui/QtText.h"
#include "ui/TraceView.h"

using morvane::test::UiApp;

namespace morvane {

namespace {

// Runs `act` on the modal window once it is up (the code under test is blocked in exec()).
void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

void ClickButton(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable("no button " + text));
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    // The options dialog as the program runs it: shown the settings, and OK stores its choice.
    bool RunOptions(AppSettings& s) {
        const std::optional<Options> chosen = ui->host.RunOptionsDialog(OptionsOf(s));
        if (chosen)
            StoreOptions(*chosen, &s);
        return chosen.has_value();
    }

private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void optionsShowTheFlagsAndOkStoresThem() {
        AppSettings& s = ui->app.Settings();
        s.registerFolders = 2;  // "2" in the file counts as on
        s.registerEverythingBelow = 0;
        s.openOnSelection = 1;
        s.folderNavigation = 0;
        s.useExternalEditor = 0;
        s.editorPath = "/usr/bin/editor";
        s.addToOpenWindow = 0;
        bool checked = false;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<DialogOption*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("環境設定"));
            QVERIFY(dialog->RegisterFoldersBox()->isChecked());
            QVERIFY(!dialog->RegisterBelowBox()->isChecked());
            QVERIFY(dialog->OpenOnSelectionBox()->isChecked());
            QVERIFY(!dialog->FolderNavigationBox()->isChecked());
            QVERIFY(!dialog->UseEditorBox()->isChecked());
            QCOMPARE(dialog->RegisterFoldersBox()->text(),
                     QString("フォルダをリスト登録の対象に含める (&F)"));
            QCOMPARE(dialog->RegisterBelowBox()->text(),
                     QString("フォルダ登録時に下層のファイルをすべて登録する (&S)"));
            QCOMPARE(dialog->OpenOnSelectionBox()->text(),
                     QString("項目をダブルクリックかエンターキーで選択時にファイルを開く (&O)"));
            QCOMPARE(
                dialog->FolderNavigationBox()->text(),
                QString("フォルダ選択時に中身を展開するエクスプロラー風の動作（キーボード誤操作に"
                        "注意) (&N)"));
            QCOMPARE(dialog->UseEditorBox()->text(),
                     QString("外部テキストエディタを指定する (&E)"));
            QVERIFY(!dialog->AddToOpenWindowBox()->isChecked());
            QCOMPARE(
                dialog->AddToOpenWindowBox()->text(),
                QString(
                    "ファイルを指定して起動したとき、開いているウィンドウのリストに追加する (&W)"));
            QCOMPARE(dialog->EditorPathField()->text(), QString("/usr/bin/editor"));
            QCOMPARE(dialog->EditorPathField()->maxLength(), 31999);
            QCOMPARE(dialog->BrowseButton()->text(), QString("参照 (&B)"));
            // キャンセル on the left of OK, OK the default.
            QPushButton* ok = nullptr;
            QPushButton* cancel = nullptr;
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == "OK")
                    ok = button;
                if (button->text() == "キャンセル")
                    cancel = button;
            }
            QVERIFY(ok != nullptr && cancel != nullptr && ok->isDefault());
            QVERIFY(cancel->mapTo(dialog, QPoint()).x() + cancel->width() <=
                    ok->mapTo(dialog, QPoint()).x());
            // Heading boxes switch nothing on or off.
            dialog->RegisterFoldersBox()->click();
            QVERIFY(dialog->RegisterBelowBox()->isEnabled());
            dialog->RegisterBelowBox()->click();
            dialog->UseEditorBox()->click();
            dialog->AddToOpenWindowBox()->click();
            dialog->EditorPathField()->clear();
            checked = true;
            ClickButton(dialog, "OK");
        });
        QVERIFY(RunOptions(s));
        QVERIFY(checked);
        QCOMPARE(s.registerFolders, std::uint8_t{0});
        QCOMPARE(s.registerEverythingBelow, std::uint8_t{1});
        QCOMPARE(s.openOnSelection, std::uint8_t{1});
        QCOMPARE(s.useExternalEditor, std::uint8_t{1});
        QCOMPARE(s.addToOpenWindow, std::uint8_t{1});
        QCOMPARE(s.editorPath, std::string());

        // A flag stored as 2 goes back as 1 after OK.
        s.registerFolders = 2;
        WhenModal([](QWidget* modal) { ClickButton(modal, "OK"); });
        ui->TriggerMenu(Command::Options);
        QCOMPARE(s.registerFolders, std::uint8_t{1});
    }

    void cancelAfterBrowsingChangesNothing() {
        AppSettings& s = ui->app.Settings();
        s.editorPath = "/old/editor";
        s.registerFolders = 2;
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<DialogOption*>(modal);
            dialog->browseForEditor = [] { return QString("/usr/bin/vi"); };
            dialog->BrowseButton()->click();
            QCOMPARE(dialog->EditorPathField()->text(), QString("/usr/bin/vi"));
            QVERIFY(!dialog->UseEditorBox()->isChecked());  // browsing leaves the box alone
            dialog->RegisterFoldersBox()->click();
            ClickButton(dialog, "キャンセル");
        });
        QVERIFY(!RunOptions(s));
        QCOMPARE(s.editorPath, std::string("/old/editor"));
        QCOMPARE(s.registerFolders, std::uint8_t{2});

        // Escape cancels as well; an untouched path keeps its bytes.
        s.editorPath = "/opt/\xFF/edit";
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QVERIFY(!RunOptions(s));
        WhenModal([](QWidget* modal) { ClickButton(modal, "OK"); });
        QVERIFY(RunOptions(s));
        QCOMPARE(s.editorPath, std::string("/opt/\xFF/edit"));
    }

    void theCoreShowsStrayBytesAsQtDoes() {
        for (const char* bytes :
             {"caf\xE9",
              "a\xE3\x81"
              "b",
              "a\xE3\x81", "\xF4\x90\x80\x80", "\xC0\x80z", "\xED\xA0\x80", "\xF0\x9F\x98",
              "\xFF\xFE", "a\xEF\xBF\xBD", "\xE3\x81\x82\x80", "x\xEF\xBB\xBF"})
            QCOMPARE(ShownAsQtDecodes(bytes), Utf8(QString::fromUtf8(bytes)));
    }

    void browsedEditorIsStoredInTheBytesOfItsName() {
        AppSettings& s = ui->app.Settings();
        s.editorPath = "/old/editor";
        const std::string editor = ui->dir.MakeFile("bin\xE9/ed\xE9");
        ui->dir.MakeFile("twice/\xE9");
        ui->dir.MakeFile("twice/\xE8");
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<DialogOption*>(modal);
            dialog->browseForEditor = [&] { return Qs(ui->dir / "twice/\xE9"); };
            dialog->BrowseButton()->click();  // which of the two: the field stays
            QCOMPARE(dialog->EditorPathField()->text(), QString("/old/editor"));
            dialog->browseForEditor = [&] { return Qs(editor); };
            dialog->BrowseButton()->click();
            QCOMPARE(dialog->EditorPathField()->text(), Qs(editor));
            ClickButton(dialog, "OK");
        });
        QVERIFY(RunOptions(s));
        QCOMPARE(s.editorPath, editor);
        const std::string shown = Utf8(Qs(ui->dir / "twice/\xE9"));
        QVERIFY(ui->app.Log().Text().find(FormatText(msg::kChosenPathAmbiguous, shown.c_str())) !=
                std::string::npos);
    }

    void progressDialogSettersNeedItsWindow() {
        ui->host.SetOverallText("ignored");
        ui->host.SetOverallProgress(1.0f);
        QVERIFY(ui->host.ProgressDialog() == nullptr);
        QCOMPARE(ui->frame->Status()->ProgressBar()->Value(), 0);  // not mirrored either

        ui->host.OpenProgressDialog();
        DialogProcess* dialog = ui->host.ProgressDialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QString("登録中"));
        QCOMPARE(dialog->OverallLabel()->Text(), QString());
        QCOMPARE(dialog->OverallBar()->Value(), 0);
        ui->host.SetOverallProgress(1.0f);
        QCOMPARE(dialog->OverallBar()->Value(), dialog->OverallBar()->Maximum());
        QCOMPARE(ui->frame->Status()->ProgressBar()->Value(), 2147483647);
        ui->host.SetOverallProgress(0.0f);
        QCOMPARE(dialog->OverallBar()->Value(), 0);
        QCOMPARE(ui->frame->Status()->ProgressBar()->Value(), 0);
        ui->host.SetDetailProgress(3.0f);
        QCOMPARE(dialog->DetailBar()->Value(), 2147483647);
        const std::string longText = "/" + std::string(400, 'x') + "/end.txt";
        ui->host.SetDetailText(longText);
        QCOMPARE(dialog->DetailLabel()->Text(), QString::fromStdString(longText));
        QVERIFY(dialog->DetailLabel()->ShownText().endsWith(QChar(0x2026)));

        // Disabling the main window leaves the way to abort open.
        ui->host.SetMainWindowEnabled(false);
        QVERIFY(dialog->isEnabled());
        ui->host.SetMainWindowEnabled(true);
        ui->host.CloseProgressDialog();
        QVERIFY(ui->host.ProgressDialog() == nullptr);
    }

    void closingTheProgressDialogAbortsTheRegistration() {
        for (int i = 0; i < 3000; ++i)
            ui->dir.MakeFile("many/m" + std::to_string(i));
        ui->host.foldersToRegister = {ui->dir / "many"};
        int closes = 0;
        auto* timer = new QTimer(ui->frame);
        QObject::connect(timer, &QTimer::timeout, [&] {
            if (DialogProcess* dialog = ui->host.ProgressDialog(); dialog && closes == 0) {
                ++closes;
                dialog->close();
            }
        });
        timer->start(5);
        ui->app.Execute(Command::RegisterFolder);
        timer->stop();
        QCOMPARE(closes, 1);
        const std::string& log = ui->app.Log().Text();
        const auto aborted = log.find(msg::kAborted);
        QVERIFY(aborted != std::string::npos);
        QCOMPARE(log.find(msg::kAborted, aborted + 1), std::string::npos);
        QVERIFY(log.find(msg::kRegisterEnd) > aborted);
        QVERIFY(ui->app.List().RowCount() < 3001);
        QVERIFY(!AppInternals::Busy(ui->app).Busy());
        QVERIFY(ui->host.ProgressDialog() == nullptr);
    }

    void messageBoxesCarryTextCaptionIconAndButtons() {
        WhenModal([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), QString("question?"));
            QCOMPARE(box->windowTitle(), QString("作業の確認"));
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            box->button(QMessageBox::No)->click();
        });
        QVERIFY(!ui->host.QtHost::AskYesNo("question?", "作業の確認"));
        // Yes is the default: Enter answers it.
        bool yesIsDefault = false;
        WhenModal([&yesIsDefault](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
            QTest::keyClick(modal, Qt::Key_Return);
        });
        QVERIFY(ui->host.QtHost::AskYesNo("question?", "作業の確認"));
        QVERIFY(yesIsDefault);
        WhenModal([](QWidget* modal) {
            qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
        });
        QVERIFY(ui->host.QtHost::AskYesNo("question?", "作業の確認"));
        WhenModal([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QCOMPARE(box->standardButtons(), QMessageBox::Ok);
            QCOMPARE(box->windowTitle(), QString("実行エラー"));
            box->button(QMessageBox::Ok)->click();
        });
        ui->host.QtHost::ShowWarning(msg::kNoTempDir, msg::kStartupCaption);
    }

    void choiceBoxOffersItsButtonsInOrder() {
        const std::vector<std::string> buttons = {msg::kRecoveryRollBack, msg::kRecoveryFinish,
                                                  msg::kRecoveryLater};
        QStringList labels;
        WhenModal([&](QWidget* modal) {
            for (QAbstractButton* button : qobject_cast<QMessageBox*>(modal)->buttons())
                labels << button->text();
            QTest::keyClick(modal, Qt::Key_Return);
        });
        QCOMPARE(ui->host.QtHost::AskChoice("text", msg::kRecoveryCaption, buttons), 0);
        QCOMPARE(labels, QStringList({"元の名前に戻す", "リネームを完了する", "後で"}));
        WhenModal([](QWidget* modal) { ClickButton(modal, "リネームを完了する"); });
        QCOMPARE(ui->host.QtHost::AskChoice("text", msg::kRecoveryCaption, buttons), 1);
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(ui->host.QtHost::AskChoice("text", msg::kRecoveryCaption, buttons), 2);
    }

    // Each line of a question stays one line: no break inside a phrase.
    void messageBoxesKeepTheirLines() {
        for (const char* text : {msg::kUnlockQuestion, msg::kRenameQuestion}) {
            bool oneLineEach = false;
            WhenModal([&](QWidget* modal) {
                auto* label = modal->findChild<QLabel*>("qt_msgbox_label");
                QVERIFY(label != nullptr);
                const QFontMetrics fm(label->font());
                const QString shown = label->text();
                const QRect unwrapped = fm.boundingRect(QRect(0, 0, 10000, 10000), 0, shown);
                oneLineEach = label->contentsRect().width() >= unwrapped.width() &&
                              label->contentsRect().height() < unwrapped.height() + fm.height();
                if (!oneLineEach)
                    qWarning() << label->contentsRect() << unwrapped;
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            ui->host.QtHost::AskYesNo(text, "作業の確認");
            QVERIFY(oneLineEach);
        }
    }

    void aboutBox() {
        QStringList texts;
        WhenModal([&](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QString("Morvane について"));
            auto* banner = modal->findChild<QLabel*>("banner");
            QVERIFY(banner != nullptr);
            QCOMPARE(banner->pixmap().size(), QSize(380, 100));
            for (QLabel* label : modal->findChildren<QLabel*>())
                texts << label->text();
            ClickButton(modal, "OK");
        });
        ui->TriggerMenu(Command::About);
        QVERIFY(texts.contains("Morvane Ver0.91b"));
    }

    void fontDialogShowsTheSizeInPointsAndStoresTheChosenPoints() {
        QCOMPARE(ui->app.Settings().fontSize, 12);
        int shownPoints = 0;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFontDialog*>(modal);
            QVERIFY(dialog != nullptr);
            shownPoints = dialog->currentFont().pointSize();
            QFont chosen = dialog->currentFont();
            chosen.setPointSize(14);
            dialog->setCurrentFont(chosen);
            dialog->accept();
        });
        ui->TriggerMenu(Command::ChooseFont);
        QCOMPARE(shownPoints, 12);
        QCOMPARE(ui->app.Settings().fontSize, 14);
        // The face shown for the missing default was accepted: the stored name stays.
        QCOMPARE(ui->app.Settings().faceName, std::string("MS UI Gothic"));
        QCOMPARE(ui->list->font().pixelSize(), 14);
        QCOMPARE(ui->list->horizontalHeader()->font().pixelSize(), 14);
        QCOMPARE(ui->editor->font().pixelSize(), 14);
        QCOMPARE(ui->editor->textMargins(), QMargins(4, 0, 4, 0));
        QCOMPARE(ui->frame->Log()->font().pixelSize(), 14);

        // Opening again shows 14 points; cancelling changes nothing.
        WhenModal([&](QWidget* modal) {
            shownPoints = qobject_cast<QFontDialog*>(modal)->currentFont().pointSize();
            qobject_cast<QFontDialog*>(modal)->reject();
        });
        ui->TriggerMenu(Command::ChooseFont);
        QCOMPARE(shownPoints, 14);
        QCOMPARE(ui->app.Settings().fontSize, 14);
        QCOMPARE(ui->list->font().pixelSize(), 14);
    }

    void missingDefaultFaceIsShownInAnInstalledJapaneseFont() {
        QCOMPARE(ui->app.Settings().faceName, std::string("MS UI Gothic"));
        const QString shown = QFontInfo(ui->list->font()).family();
        QVERIFY2(QFontDatabase::families().contains(shown), qPrintable(shown));
        QVERIFY2(QFontDatabase::writingSystems(shown).contains(QFontDatabase::Japanese),
                 qPrintable(shown));
    }

    void chosenInstalledFaceIsStoredAndShownAsIs() {
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFontDialog*>(modal);
            QFont chosen = dialog->currentFont();
            chosen.setFamily("DejaVu Serif");
            dialog->setCurrentFont(chosen);
            dialog->accept();
        });
        ui->TriggerMenu(Command::ChooseFont);
        QCOMPARE(ui->app.Settings().faceName, std::string("DejaVu Serif"));
        QCOMPARE(QFontInfo(ui->list->font()).family(), QString("DejaVu Serif"));
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::DialogsTest)
#include "DialogsTest.moc"

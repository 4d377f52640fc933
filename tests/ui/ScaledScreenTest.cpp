// A 1920 × 1080 screen at 2× scaling (960 × 540 device-independent pixels): every window
// opens inside the screen, its buttons within reach. Runs in a process of its own, set up by
// the test's environment (tests/CMakeLists.txt).

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "UiTestSupport.h"
#include "host/Messages.h"
#include "ui/DialogProcess.h"

using morvane::test::UiApp;

namespace morvane {

class ScaledScreenTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void theScreenIsSmallInDeviceIndependentPixels() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->availableGeometry(), QRect(0, 0, 960, 540));
        QCOMPARE(screen->devicePixelRatio(), 2.0);
    }

    void theMainWindowFits() { ExpectFits(ui->frame, "main window"); }

    void everyDialogFits() {
        const auto checkModal = [this](const char* what) {
            test::OnModal([this, what](QWidget* modal) {
                ExpectFits(modal, what);
                qobject_cast<QDialog*>(modal)->reject();
            });
        };
        checkModal("options");
        ui->host.QtHost::RunOptionsDialog(Options{});
        checkModal("name tools");
        ui->host.QtHost::RunNameTools(ui->app.Tools());
        checkModal("about");
        ui->host.QtHost::ShowAbout();
        checkModal("font");
        FontDescription font;
        ui->host.QtHost::ChooseFont(font);
        checkModal("file");
        ui->host.QtHost::ChooseFilesToRegister();
        checkModal("folder");
        ui->host.QtHost::ChooseFolderToRegister(msg::kFolderTitle);
        checkModal("list file to load");
        ui->host.QtHost::ChooseListFileToLoad();
        checkModal("list file to save");
        ui->host.QtHost::ChooseListFileToSave();
        checkModal("warning");
        std::string longLine;
        for (int i = 0; i < 60; ++i)
            longLine += "ファイル名";
        ui->host.QtHost::ShowWarning(longLine + "\n短い行", msg::kRenameCaption);
        checkModal("rename question");
        ui->host.QtHost::AskYesNo(
            std::string(msg::kRenameQuestion) + FormatText(msg::kRenameCounts, 100000, 20000, 3000),
            msg::kRenameCaption);
        checkModal("row-lock question");
        ui->host.QtHost::AskYesNo(msg::kUnlockQuestion, msg::kUnlockCaption);

        ui->host.OpenProgressDialog();
        QVERIFY(QTest::qWaitForWindowExposed(ui->host.ProgressDialog()));
        ExpectFits(ui->host.ProgressDialog(), "progress");
        ui->host.CloseProgressDialog();
    }

private:
    // The window and each of its visible buttons lie inside the available area.
    void ExpectFits(QWidget* window, const char* what) {
        const QRect area = window->screen()->availableGeometry();
        QVERIFY2(area.contains(window->frameGeometry()),
                 qPrintable(QStringLiteral("%1: %2,%3 %4x%5")
                                .arg(what)
                                .arg(window->frameGeometry().x())
                                .arg(window->frameGeometry().y())
                                .arg(window->frameGeometry().width())
                                .arg(window->frameGeometry().height())));
        for (const QPushButton* button : window->findChildren<QPushButton*>()) {
            if (!button->isVisible())
                continue;
            const QRect shown(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(area.contains(shown), qPrintable(QString(what) + ": " + button->text()));
        }
    }

    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::ScaledScreenTest)
#include "ScaledScreenTest.moc"

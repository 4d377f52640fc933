// The history of runs: opened from its menu item with three runs, its columns and states, and
// the middle run undone from it.

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

#include "UiTestSupport.h"
#include "app/Command.h"
#include "host/Messages.h"
#include "ui/HistoryDialog.h"
#include "ui/QtText.h"

using morvane::test::UiApp;

namespace morvane {

class HistoryDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void threeRunsListedAndTheMiddleOneUndone() {
        for (const char* name : {"a", "b", "c"}) {
            const int row = ui->Add(std::string(name) + ".txt", name);
            ui->app.Rules().SetNewName(row, std::string(name) + "1.txt");
            ui->host.yesNoAnswers.push_back(true);
            ui->app.Execute(Command::Rename);
        }
        QVERIFY(test::PathExists(ui->dir / "files/b1.txt"));

        QString states[3];
        QString headers;
        int columns = 0;
        int fileRows = -1;
        QString nowOfFile;
        bool undoEnabled = false;
        auto* timer = new QTimer(ui->frame);
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, [&, timer] {
            auto* dialog = qobject_cast<HistoryDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            timer->stop();
            QTableWidget* runs = dialog->RunsTable();
            columns = runs->columnCount();
            for (int c = 0; c < columns; ++c)
                headers += runs->horizontalHeaderItem(c)->text() + "|";
            runs->selectRow(1);
            fileRows = dialog->FilesView()->model()->rowCount();
            nowOfFile =
                dialog->FilesView()->model()->index(0, RunFilesModel::Now).data().toString();
            undoEnabled = dialog->UndoButton()->isEnabled();
            ui->host.yesNoAnswers.push_back(true);
            dialog->UndoButton()->click();
            for (int r = 0; r < 3 && r < runs->rowCount(); ++r)
                states[r] = runs->item(r + 1, HistoryDialog::State)->text();
            dialog->reject();
        });
        timer->start();
        QVERIFY(ui->TriggerMenu(Command::History));

        QCOMPARE(columns, 5);
        QCOMPARE(headers, QString::fromUtf8("日時|種類|ファイル数|フォルダ|状態|"));
        QCOMPARE(fileRows, 1);
        QCOMPARE(nowOfFile, Qs(msg::kFileAtNew));
        QVERIFY(undoEnabled);
        // After the undo its own run leads the list; the middle run is undone, the others not.
        QCOMPARE(states[0], Qs(msg::kRunDone));
        QCOMPARE(states[1], Qs(msg::kRunUndone));
        QCOMPARE(states[2], Qs(msg::kRunDone));
        QVERIFY(test::PathExists(ui->dir / "files/b.txt"));
        QVERIFY(test::PathExists(ui->dir / "files/a1.txt"));
        QVERIFY(test::PathExists(ui->dir / "files/c1.txt"));
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::HistoryDialogTest)
#include "HistoryDialogTest.moc"

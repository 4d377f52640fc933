// The main window: layout, splitter, status bar, menus, toolbar, frame keys and closing.

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include "app/AppInternals.h"
#include "ui/ElidedLabel.h"
#include "ui/ProgressStrip.h"

#include "UiTestSupport.h"
#include "app/Command.h"
#include "host/Messages.h"
#include "ui/MainStatusBar.h"
#include "ui/SplitterList.h"
#include "ui/TraceView.h"

using morvane::test::UiApp;

namespace morvane {

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void opensWithHeadingsInDisplayOrderEmptyLogAndTotal() {
        QCOMPARE(ui->frame->size(), QSize(700, 640));
        QVERIFY(!ui->frame->windowIcon().isNull());
        QHeaderView* header = ui->list->horizontalHeader();
        const QStringList expected = {
            "行",   "",         "現在のファイル名", "新しいファイル名", "文字数", "サイズ",
            "種類", "更新日時", "ディレクトリ",     "拡張子",           "属性",   "エラー"};
        QStringList shown;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int logical = header->logicalIndex(visual);
            shown << ui->model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        }
        QCOMPARE(shown, expected);
        const QList<int> widths = {22, 200, 200, 50, 70, 180, 128, 50, 200, 500, 60, 40};
        QList<int> shownWidths;
        for (int column = 0; column < header->count(); ++column)
            shownWidths << header->sectionSize(column);
        QCOMPARE(shownWidths, widths);
        QVERIFY(header->sectionsMovable());
        QCOMPARE(ui->frame->Log()->toPlainText(), QString());
        QVERIFY(ui->frame->Log()->isReadOnly());
        QCOMPARE(ui->frame->Status()->CountPane()->Text(), QString("登録総数 : 0"));
        QCOMPARE(ui->frame->Status()->CountPane()->Alignment(), Qt::AlignCenter);
    }

    void logPaneKeepsItsHeightWhenTheWindowGrows() {
        TraceView* log = ui->frame->Log();
        QTRY_COMPARE(log->height(), 100);
        const int listHeight = ui->list->height();
        ui->frame->resize(700, 740);
        QTRY_COMPARE(ui->list->height(), listHeight + 100);
        QCOMPARE(log->height(), 100);
    }

    void draggedLogHeightSurvivesAResize() {
        SplitterList* splitter = ui->frame->Splitter();
        QTRY_COMPARE(ui->frame->Log()->height(), 100);
        // Drag the bar 60 pixels up: the log grows to 160.
        QSplitterHandle* handle = splitter->handle(1);
        const QPoint start(handle->width() / 2, handle->height() / 2);
        QTest::mousePress(handle, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start - QPoint(0, 60)),
                         QPointF(handle->mapToGlobal(start - QPoint(0, 60))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, start - QPoint(0, 60));
        QCOMPARE(ui->frame->Log()->height(), 160);
        QCOMPARE(splitter->SavedLogHeight(), 160);

        const int listHeight = ui->list->height();
        ui->frame->resize(700, 600);
        QTRY_COMPARE(ui->list->height(), listHeight - 40);
        QCOMPARE(ui->frame->Log()->height(), 160);
    }

    void statusProgressOneFillsZeroEmpties() {
        ProgressStrip* bar = ui->frame->Status()->ProgressBar();
        QCOMPARE(bar->width(), 120);
        ui->host.SetStatusProgress(1.0f);
        QCOMPARE(bar->Value(), bar->Maximum());
        QCOMPARE(bar->Maximum(), 2147483647);
        ui->host.SetStatusProgress(0.5f);
        QCOMPARE(bar->Value(), 1 << 30);
        ui->host.SetStatusProgress(0.0f);
        QCOMPARE(bar->Value(), 0);
    }

    void rowLockShowsInTheStatusBarAndOnTheButton() {
        QAction* button = ui->ToolButton(Command::EditorButton);
        QVERIFY(button->isCheckable());
        QCOMPARE(ui->frame->Status()->RowLockPane()->Text(), QString());
        ui->host.ShowRowLock(true);
        QCOMPARE(ui->frame->Status()->RowLockPane()->Text(), QString("行ロック"));
        QCOMPARE(ui->frame->Status()->RowLockPane()->Alignment(), Qt::AlignCenter);
        QVERIFY(button->isChecked());
        QVERIFY(ui->host.EditorButtonChecked());
        ui->host.ShowRowLock(false);
        QCOMPARE(ui->frame->Status()->RowLockPane()->Text(), QString());
        QVERIFY(!ui->host.EditorButtonChecked());
    }

    void frameDeleteUnderTheRowLockAsksFirstAndNoRemovesNothing() {
        ui->AddNumbered(3);
        ui->app.List().SelectAll();
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
        ui->frame->setFocus();
        QTest::keyClick(ui->frame, Qt::Key_Delete);
        QCOMPARE(ui->host.questions.size(), std::size_t{1});
        QCOMPARE(ui->host.questions[0].text, std::string(msg::kUnlockQuestion));
        QCOMPARE(ui->host.questions[0].caption, std::string(msg::kUnlockCaption));
        QCOMPARE(ui->app.List().RowCount(), 3);
        QCOMPARE(ui->model->rowCount(), 3);

        // Without the lock the frame's Delete removes the selected rows, asking nothing.
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(false);
        ui->app.List().SetSelection({1});
        QTest::keyClick(ui->frame, Qt::Key_Delete);
        QCOMPARE(ui->host.questions.size(), std::size_t{1});
        QCOMPARE(ui->Column(ColCurrentName), QStringList({"f000.txt", "f002.txt"}));
        QCOMPARE(ui->frame->Status()->CountPane()->Text(), QString("登録総数 : 2"));
    }

    void frameCtrlASelectsEveryRowButKeysOfTheLogStayThere() {
        ui->AddNumbered(4);
        ui->frame->setFocus();
        QTest::keyClick(ui->frame, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(ui->app.List().SelectedRows().size(), std::size_t{4});
        QCOMPARE(ui->list->selectionModel()->selectedRows().size(), 4);

        // Delete typed in the log is the log's, even though the log leaves it unhandled.
        ui->frame->Log()->setFocus();
        QTest::keyClick(ui->frame->Log(), Qt::Key_Delete);
        QCOMPARE(ui->app.List().RowCount(), 4);
    }

    void ctrlZOnTheListUndoesTheLastRun() {
        ui->AddNumbered(2);
        ui->app.Rules().SetNewName(0, "renamed.txt");
        ui->host.yesNoAnswers.push_back(true);
        ui->app.Execute(Command::Rename);
        QVERIFY(test::PathExists(ui->dir / "files/renamed.txt"));
        ui->list->setFocus();
        // Ctrl+Shift+Z is redo elsewhere: it does not undo.
        const std::size_t asked = ui->host.questions.size();
        QTest::keyClick(ui->list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(ui->frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ui->host.questions.size(), asked);
        QVERIFY(test::PathExists(ui->dir / "files/renamed.txt"));
        ui->host.yesNoAnswers.push_back(true);
        QTest::keyClick(ui->list, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(test::PathExists(ui->dir / "files/f000.txt"));
        QVERIFY(!test::PathExists(ui->dir / "files/renamed.txt"));
        QCOMPARE(ui->host.questions.back().caption, std::string(msg::kUndoCaption));
    }

    void menusCarryTheirLabelsAndReachTheirHandlers() {
        QStringList titles;
        for (QAction* menu : ui->frame->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles,
                 QStringList({"ファイル(&F)", "操作 (&O)", "表示(&V)", "実行 (&A)", "ヘルプ(&H)"}));
        const auto labels = [&](int index) {
            QStringList texts;
            for (QAction* a : ui->frame->menuBar()->actions()[index]->menu()->actions())
                texts << (a->isSeparator() ? QString("-") : a->text());
            return texts;
        };
        QCOMPARE(labels(0),
                 QStringList({"読み込み (&L)", "上書き保存 (&S)", "名前を付けて保存 (&A)", "-",
                              "アプリケーションの終了(&X)"}));
        QCOMPARE(
            labels(1),
            QStringList({"リストにファイルを登録 (&A)", "リストにフォルダを登録 (&F)",
                         "選択中のリストをクリア (&R)", "すべてのリストをクリア （&C）", "-",
                         "選択中のリストを１つ上に移動　(&U)", "選択中のリストを１つ下に移動 (&D)",
                         "-", "次のエラー行へ移動 (&E)", "前のエラー行へ移動 (&B)", "-",
                         "名前の一括変更 (&N)", "最近使ったプリセット (&P)"}));
        QCOMPARE(labels(2), QStringList({"ツール バー(&T)", "ステータス バー(&S)", "-",
                                         "フォント (&F)", "-", "環境設定 (&O)"}));
        QCOMPARE(labels(3),
                 QStringList({"テキストエディタで編集 (&T)", "-", "新しい名前でリネーム (&R)",
                              "直前のリネームを元に戻す (&U)", "リネームの履歴 (&H)"}));
        QCOMPARE(labels(4), QStringList({"バージョン情報 (&A)"}));
        QCOMPARE(ui->MenuItem(Command::Rename)->statusTip(), QString("新しいファイル名にリネーム"));

        // Under the row lock both register commands ask first; No registers nothing and shows
        // no dialog, Yes releases the lock and goes on.
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
        ui->dir.MakeFile("tree/one.txt");
        ui->host.foldersToRegister = {ui->dir / "tree"};
        ui->host.filesToRegister = {{ui->dir / "tree/one.txt"}};
        ui->host.yesNoAnswers = {false, false};
        ui->TriggerMenu(Command::RegisterFolder);
        ui->TriggerMenu(Command::RegisterFiles);
        QCOMPARE(ui->host.questions.size(), std::size_t{2});
        QVERIFY(ui->host.folderTitles.empty());
        QCOMPARE(ui->app.List().RowCount(), 0);
        ui->host.yesNoAnswers = {true};
        ui->TriggerMenu(Command::RegisterFolder);
        QCOMPARE(ui->host.folderTitles, std::vector<std::string>{msg::kFolderTitle});
        QVERIFY(!ui->app.Lock().RowLocked());
        QVERIFY(ui->app.List().RowCount() > 0);

        // Exit only asks the main loop to end.
        ui->TriggerMenu(Command::Exit);
        QVERIFY(ui->app.QuitRequested());
        QVERIFY(ui->frame->isVisible());
    }

    void toolbarHasSevenButtonsWithTextsUnderIcons() {
        QToolBar* bar = ui->frame->ToolBar();
        const QList<QAction*> items = bar->actions();
        QCOMPARE(items.size(), 10);
        QStringList texts;
        for (QAction* a : items)
            texts << (a->isSeparator() ? QString("-") : a->text());
        QCOMPARE(texts, QStringList({"登録", "破棄", "クリア", "-", "開く", "一つ上へ", "-",
                                     "エディタ編集", "-", "リネーム"}));
        QCOMPARE(bar->iconSize(), QSize(24, 24));
        QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        // Every enabled button paints a coloured icon of its own: not greyed, not a theme's.
        ui->frame->show();
        QList<QImage> seen;
        for (QAction* a : items) {
            if (a->isSeparator())
                continue;
            const QImage icon = a->icon().pixmap(QSize(24, 24)).toImage();
            QVERIFY2(!seen.contains(icon), qPrintable(a->text()));
            seen.append(icon);
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            QVERIFY(button != nullptr);
            if (!button->isEnabled())
                continue;
            const QImage painted = button->grab().toImage();
            int coloured = 0;
            for (int y = 0; y < painted.height(); ++y) {
                for (int x = 0; x < painted.width(); ++x)
                    coloured += QColor(painted.pixel(x, y)).hsvSaturation() > 100 ? 1 : 0;
            }
            QVERIFY2(coloured >= 20, qPrintable(a->text() + QString::number(coloured)));
        }
        QCOMPARE(ui->ToolButton(Command::RegisterFiles)->statusTip(), QString("リストに登録"));
        QCOMPARE(ui->ToolButton(Command::GoUp)->toolTip(), QString("１つ上の階層へ移動"));

        // "クリア" removes every row and empties the log.
        ui->AddNumbered(2);
        ui->app.Log().AppendLog("x");
        ui->TriggerTool(Command::ClearAll);
        QCOMPARE(ui->model->rowCount(), 0);
        QCOMPARE(ui->frame->Log()->toPlainText(), QString());
        QCOMPARE(ui->frame->Status()->CountPane()->Text(), QString("登録総数 : 0"));
    }

    void renameButtonRenamesAfterTheQuestion() {
        ui->Add("a.txt", "A");
        ui->Add("b.txt", "B");
        ui->app.Rules().SetNewName(0, "b.txt");  // a swap through a temporary name
        ui->app.Rules().SetNewName(1, "a.txt");
        ui->list->setFocus();
        ui->host.yesNoAnswers = {true};
        ui->TriggerTool(Command::Rename);
        QCOMPARE(ui->host.questions.size(), std::size_t{1});
        QCOMPARE(ui->host.questions[0].caption, std::string(msg::kRenameCaption));
        QCOMPARE(test::ReadFileText(ui->dir / "files/a.txt"), std::string("B"));
        QCOMPARE(ui->dir.Names("files"), (std::vector<std::string>{"a.txt", "b.txt"}));
        QCOMPARE(ui->model->rowCount(), 0);
        QVERIFY(ui->app.Log().Text().find(msg::kRenameEnd) != std::string::npos);
        QCOMPARE(ui->frame->Log()->toPlainText(), QString::fromStdString(ui->app.Log().Text()));
        QVERIFY(ui->frame->isEnabled());
        QCOMPARE(ui->frame->Status()->CountPane()->Text(), QString("登録総数 : 0"));
    }

    void editorButtonLocksRowsAndTheMainLoopTakesTheSavedText() {
        ui->Add("a.txt");
        ui->Add("b.txt");
        ui->app.Settings().useExternalEditor = 1;
        ui->app.Settings().editorPath = "/bin/true";  // an "editor" that exits at once
        QAction* button = ui->ToolButton(Command::EditorButton);

        // During a registration the button stays released and the busy error is logged.
        std::optional<BusyGuard> busy(std::in_place, AppInternals::Busy(ui->app));
        test::Trigger(button, "editor button");
        QVERIFY(!button->isChecked());
        QVERIFY(!ui->app.Lock().RowLocked());
        QVERIFY(ui->app.Log().Text().find(msg::kBusy) != std::string::npos);
        busy.reset();

        test::Trigger(button, "editor button");
        QVERIFY(ui->app.Lock().RowLocked());
        QVERIFY(button->isChecked());
        QCOMPARE(ui->frame->Status()->RowLockPane()->Text(), QString("行ロック"));
        const std::string textFile = AppInternals::RoundTrip(ui->app).TextFilePath();
        QVERIFY(test::PathExists(textFile));
        QCOMPARE(
            ui->model->data(ui->model->index(0, ColRowNumber), Qt::BackgroundRole).value<QColor>(),
            QColor(196, 196, 248));

        // The user's editor saves new names; the main loop notices and takes them.
        {
            std::ofstream out(textFile, std::ios::binary | std::ios::trunc);
            out << "first.txt\r\nsecond.txt\r\n";
        }
        auto* watch = new QTimer(ui->frame);
        int ticks = 0;
        QObject::connect(watch, &QTimer::timeout, [&] {
            if (ui->app.List().Cell(1, ColNewName) == "second.txt" || ++ticks > 200)
                ui->frame->close();
        });
        watch->start(25);
        ui->app.RunMainLoop();
        watch->stop();
        QCOMPARE(ui->Text(0, ColNewName), QString("first.txt"));
        QCOMPARE(ui->Text(1, ColNewName), QString("second.txt"));

        // The second click releases the lock and deletes the text file.
        test::Trigger(button, "editor button");
        QVERIFY(!ui->app.Lock().RowLocked());
        QVERIFY(!button->isChecked());
        QCOMPARE(ui->frame->Status()->RowLockPane()->Text(), QString());
        QVERIFY(!test::PathExists(textFile));
        QCOMPARE(
            ui->model->data(ui->model->index(0, ColRowNumber), Qt::ForegroundRole).value<QColor>(),
            QColor(196, 196, 196));

        // The menu item takes the lock as well, asking nothing.
        ui->TriggerMenu(Command::EditInTextEditor);
        QVERIFY(ui->app.Lock().RowLocked());
        QVERIFY(button->isChecked());
        QVERIFY(ui->host.questions.empty());
    }

    // The helpers every window test triggers through refuse what a user could not click.
    void triggerRefusesMissingAndDisabledItems() {
        QCOMPARE(test::TriggerProblem(ui->frame->MenuAction(Command::About)), QString());
        QCOMPARE(test::TriggerProblem(ui->frame->ToolAction(Command::Exit)), QString("missing"));
        QMenu* recent = ui->frame->RecentPresetsMenu();
        emit recent->aboutToShow();  // no presets: one greyed-out item
        QAction* none = recent->actions().value(0);
        QVERIFY(none != nullptr);
        QCOMPARE(none->text(), QString("(なし)"));
        QCOMPARE(test::TriggerProblem(none), QString("disabled"));

        // Trigger must fail the test itself. Were it to let the item through, the expected
        // failure would fall to QVERIFY(true) below, which then reports an unexpected pass.
        QEXPECT_FAIL("", "a disabled item fails the test that triggers it", Continue);
        const bool triggered = test::Trigger(none, "the empty recent presets item");
        QVERIFY(true);
        QVERIFY(!triggered);
    }

    void barsCanBeHiddenFromTheViewMenuWithCheckMarks() {
        QAction* toolBarItem = ui->MenuItem(Command::ToggleToolBar);
        QAction* statusItem = ui->MenuItem(Command::ToggleStatusBar);
        QVERIFY(toolBarItem->isChecked());
        QVERIFY(statusItem->isChecked());
        test::Trigger(toolBarItem, "tool bar item");
        QVERIFY(!toolBarItem->isChecked());
        QVERIFY(ui->frame->ToolBar()->isHidden());
        test::Trigger(statusItem, "status bar item");
        QVERIFY(ui->frame->Status()->isHidden());
        test::Trigger(toolBarItem, "tool bar item");
        test::Trigger(statusItem, "status bar item");
        QVERIFY(!ui->frame->ToolBar()->isHidden());
        QVERIFY(!ui->frame->Status()->isHidden());
        QVERIFY(toolBarItem->isChecked());
    }

    void logViewShowsTheCoreLog() {
        ui->app.Log().AppendLog("【エラー】one");
        ui->app.Log().AppendLog("two\nlines");
        QCOMPARE(ui->frame->Log()->toPlainText(), QString::fromUtf8(ui->app.Log().Text().c_str()));
        QCOMPARE(ui->frame->Log()->toPlainText(), QString("\n【エラー】one\ntwo\nlines"));
        ui->app.Log().ClearLog();
        QCOMPARE(ui->frame->Log()->toPlainText(), QString());

        // New lines scroll into view.
        QScrollBar* bar = ui->frame->Log()->verticalScrollBar();
        for (int i = 0; i < 50; ++i)
            ui->app.Log().AppendLog("line " + std::to_string(i));
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
    }

    void closingEndsTheMainLoopAndShutDownWritesTheSettings() {
        QTimer::singleShot(50, ui->frame, [this] {
            QVERIFY(!ui->frame->close());  // the window stays
            QVERIFY(ui->frame->isVisible());
        });
        BusyGuard running(AppInternals::Busy(ui->app));
        ui->app.RunMainLoop();
        QVERIFY(ui->app.QuitRequested());
        QVERIFY(!AppInternals::Busy(ui->app).Busy());
        ui->app.ShutDown();
        ui->started = false;
        QVERIFY(ui->host.MainFrame() == nullptr);
        const std::string ini = test::ReadFileText(ui->env.settingsPath);
        int keys = 0;
        for (char c : ini)
            keys += c == '=' ? 1 : 0;
        QCOMPARE(keys, 21);
    }

    void initInstanceRunsUntilTheWindowIsClosed() {
        ui.reset();
        test::TempDir dir;
        QtHost host;
        CMorvaneApp app(host, RealFileSystem());
        host.SetApp(&app);
        StartupEnvironment env;
        env.programDir = dir.MakeFolder("program");
        env.tempDir = dir.path() + "/";
        env.settingsPath = dir / "program/config.ini";
        bool closed = false;
        QTimer::singleShot(100, [&] {
            CMainFrame* frame = host.MainFrame();
            QVERIFY(frame != nullptr && frame->isVisible());
            frame->close();
            closed = true;
        });
        QVERIFY(app.InitInstance({dir / "missing.mvf"}, env));
        QVERIFY(closed);
        QVERIFY(host.MainFrame() == nullptr);
        QVERIFY(test::PathExists(env.settingsPath));
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::MainFrameTest)
#include "MainFrameTest.moc"

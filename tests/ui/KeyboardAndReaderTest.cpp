// Working from the keyboard and with a screen reader: the rows in error and their count, the
// keys of the commands and their place in the menus, the rename question's numbers, the
// editor's command line, the row lock's end, the empty list's hint, the file dialogs' first
// folder, and the names a screen reader reads.

#include <sys/stat.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <fstream>

#include "UiTestSupport.h"
#include "app/AppInternals.h"
#include "app/Command.h"
#include "host/Messages.h"
#include "ui/DialogOption.h"
#include "ui/ElidedLabel.h"
#include "ui/MainStatusBar.h"
#include "ui/NameToolsDialog.h"
#include "ui/QtText.h"
#include "ui/TraceView.h"

using morvane::test::UiApp;

namespace morvane {

class KeyboardAndReaderTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void f8GoesToTheRowsInErrorAndTheCountFollowsEdits() {
        ui->AddNumbered(6);
        QToolButton* count = ui->frame->Status()->ErrorButton();
        QCOMPARE(count->text(), QString("エラー : 0"));
        QVERIFY(!count->isEnabled());
        ui->app.Rules().SetNewName(1, "");
        ui->app.Rules().SetNewName(4, "a/b");
        QCOMPARE(count->text(), QString("エラー : 2"));
        QVERIFY(count->isEnabled());

        ui->list->setFocus();
        ui->list->setCurrentIndex(ui->model->index(0, ColNewName));
        QTest::keyClick(ui->list, Qt::Key_F8);
        QCOMPARE(CurrentRow(), 1);
        QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{1});
        QTest::keyClick(ui->list, Qt::Key_F8);
        QCOMPARE(CurrentRow(), 4);
        QTest::keyClick(ui->list, Qt::Key_F8);  // round to the top
        QCOMPARE(CurrentRow(), 1);
        QTest::keyClick(ui->list, Qt::Key_F8, Qt::ShiftModifier);  // back round the bottom
        QCOMPARE(CurrentRow(), 4);

        // A name typed in place counts as it goes wrong.
        ui->list->setCurrentIndex(ui->model->index(2, ColNewName));
        ui->app.List().SetSelection({2});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QVERIFY(ui->editor->isVisible());
        QTest::keyClick(ui->editor, Qt::Key_End);
        QTest::keyClick(ui->editor, Qt::Key_Slash);
        QCOMPARE(count->text(), QString("エラー : 3"));
        QTest::keyClick(ui->editor, Qt::Key_Backspace);
        QCOMPARE(count->text(), QString("エラー : 2"));
        QTest::keyClick(ui->editor, Qt::Key_Return);

        // The count's button goes to the first row in error.
        ui->list->setFocus();
        QTest::mouseClick(count, Qt::LeftButton);
        QCOMPARE(CurrentRow(), 1);
        QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{1});

        // The error cell keeps its short labels, its tool tip the reason.
        QCOMPARE(ui->Text(4, ColError), Qs(ErrorCellText(ErrForbidden)));
        const QString reason =
            ui->model->data(ui->model->index(4, ColError), Qt::ToolTipRole).toString();
        QCOMPARE(reason, Qs(ui->app.Rules().ExplainErrors(4)));
        QVERIFY(reason.size() > ui->Text(4, ColError).size());

        ui->TriggerTool(Command::ClearAll);
        QCOMPARE(count->text(), QString("エラー : 0"));
    }

    void theErrorColumnCanBeDraggedAndItsPlaceIsKept() {
        QHeaderView* header = ui->list->horizontalHeader();
        // Dragged beside 新しいファイル名, as a user would drag its heading.
        header->moveSection(header->visualIndex(ColError), header->visualIndex(ColNewName) + 1);
        QCOMPARE(header->visualIndex(ColError), header->visualIndex(ColNewName) + 1);
        ui->app.SaveSettingsNow();
        const std::string saved = ui->app.Settings().columnOrder;
        QCOMPARE(saved, std::string("7,0,1,2,8,3,4,5,6,9,10,11"));
        QVERIFY(test::ReadFileText(ui->env.settingsPath).find("列の並び=" + saved) !=
                std::string::npos);
        ui->list->SetColumnOrder("7,0,1,2,3,4,5,6,9,10,11,8");
        QCOMPARE(header->visualIndex(ColError), ColumnCount - 1);
        ui->list->SetColumnOrder("1,1,2");  // not an order: nothing moves
        QCOMPARE(header->visualIndex(ColError), ColumnCount - 1);
    }

    void theRenameQuestionCountsWhatTheRunWillDo() {
        ui->Add("a.txt");
        ui->Add("b.txt");
        ui->dir.MakeFolder("files/folder");
        ui->Add("c.txt");
        QVERIFY(AppInternals::Registrar(ui->app).RegisterPath(ui->dir / "files/folder"));
        ui->model->FlushAppends();
        ui->app.Rules().SetNewName(0, "a2.txt");
        ui->app.Rules().SetNewName(1, "");
        ui->app.Rules().SetNewName(3, "renamed folder");
        ui->list->setFocus();
        ui->host.yesNoAnswers = {false};
        QTest::keyClick(ui->list, Qt::Key_F9);
        QCOMPARE(ui->host.questions.size(), std::size_t{1});
        QCOMPARE(ui->host.questions[0].text,
                 std::string(msg::kRenameQuestion) + FormatText(msg::kRenameCounts, 1, 1, 1));
        QCOMPARE(ui->model->rowCount(), 4);
    }

    void everyKeyShowsInItsMenuItemAndNewKeysRunTheirCommands() {
        const std::vector<std::pair<Command, QString>> keys = {
            {Command::RegisterFiles, "Ins"},
            {Command::RemoveSelected, "Del"},
            {Command::MoveUp, "Alt+Up"},
            {Command::MoveDown, "Alt+Down"},
            {Command::NextError, "F8"},
            {Command::PreviousError, "Shift+F8"},
            {Command::NameTools, "Ctrl+H"},
            {Command::OverwriteSave, "Ctrl+S"},
            {Command::EditInTextEditor, "Ctrl+E"},
            {Command::Rename, "F9"},
            {Command::UndoRename, "Ctrl+Z"},
        };
        for (const auto& [command, key] : keys) {
            QAction* item = ui->MenuItem(command);
            QCOMPARE(item->shortcut().toString(), key);
            // What the menu shows and a screen reader reads beside the item's text.
            QMenu* menu = qobject_cast<QMenu*>(item->associatedObjects().value(0));
            QVERIFY(menu != nullptr);
            QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(menu);
            QVERIFY(shown != nullptr);
            bool found = false;
            for (int i = 0; i < shown->childCount(); ++i) {
                QAccessibleInterface* child = shown->child(i);
                if (child->text(QAccessible::Name) == item->text().remove('&'))
                    found = child->text(QAccessible::Accelerator) == key;
            }
            QVERIFY2(found, qPrintable(key));
        }

        // Ctrl+E locks the rows, as the menu item does, and again releases them.
        ui->AddNumbered(2);
        ui->app.Settings().useExternalEditor = 1;
        ui->app.Settings().editorPath = "/bin/true";
        ui->list->setFocus();
        QTest::keyClick(ui->list, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(ui->app.Lock().RowLocked());
        QVERIFY(ui->ToolButton(Command::EditorButton)->isChecked());
        QTest::keyClick(ui->list, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(!ui->app.Lock().RowLocked());

        // Insert registers, from the list and from the frame alike.
        ui->host.filesToRegister = {{ui->dir.MakeFile("files/new.txt")}};
        QTest::keyClick(ui->list, Qt::Key_Insert);
        QCOMPARE(ui->app.List().RowCount(), 3);

        // F9 renames from the frame as well.
        ui->app.Rules().SetNewName(0, "renamed.txt");
        ui->frame->setFocus();
        ui->host.yesNoAnswers = {true};
        QTest::keyClick(ui->frame, Qt::Key_F9);
        QCOMPARE(ui->host.questions.size(), std::size_t{1});
        QVERIFY(test::PathExists(ui->dir / "files/renamed.txt"));
    }

    void anEditorCommandLineGetsItsOptionsAndTheFileWhereItSaysSo() {
        ui->AddNumbered(2);
        const std::string argv = ui->dir / "argv.txt";
        const std::string editor = WriteScript("my editor.sh", argv);
        ui->app.Settings().useExternalEditor = 1;
        ui->app.Settings().editorPath = "'" + editor + "' --wait -n %f +1";
        ui->TriggerMenu(Command::EditInTextEditor);
        QVERIFY(ui->app.Lock().RowLocked());
        const std::string textFile = AppInternals::RoundTrip(ui->app).TextFilePath();
        QTRY_VERIFY(test::ReadFileText(argv).find("+1\n") != std::string::npos);
        QCOMPARE(test::ReadFileText(argv), "--wait\n-n\n" + textFile + "\n+1\n");

        // Without %f the file comes last.
        ui->TriggerMenu(Command::EditInTextEditor);  // released
        std::remove(argv.c_str());
        ui->app.Settings().editorPath = "\"" + editor + "\" -b";
        ui->TriggerMenu(Command::EditInTextEditor);
        const std::string second = AppInternals::RoundTrip(ui->app).TextFilePath();
        QTRY_VERIFY(test::ReadFileText(argv).find(".txt\n") != std::string::npos);
        QCOMPARE(test::ReadFileText(argv), "-b\n" + second + "\n");
    }

    void anEditorThatCannotStartLeavesNoLockAndSaysWhy() {
        ui->AddNumbered(2);
        ui->app.Settings().useExternalEditor = 1;
        ui->app.Settings().editorPath = "no-such-editor-here --wait";
        ui->TriggerTool(Command::EditorButton);
        QVERIFY(!ui->app.Lock().RowLocked());
        QVERIFY(!ui->ToolButton(Command::EditorButton)->isChecked());
        QCOMPARE(ui->frame->Status()->RowLockPane()->Text(), QString());
        const std::string& log = ui->app.Log().Text();
        QVERIFY(log.find(FormatText(msg::kShellFileNotFound, "no-such-editor-here")) !=
                std::string::npos);
        QVERIFY(log.find(msg::kEditorNotStarted) != std::string::npos);
        QVERIFY(log.find("『行』をロックします") == std::string::npos);
        QCOMPARE(ui->dir.Names("tmp"), std::vector<std::string>{});  // no text file left

        // An unbalanced quote is no command line at all.
        ui->app.Settings().editorPath = "kate \"-b";
        ui->TriggerMenu(Command::EditInTextEditor);
        QVERIFY(!ui->app.Lock().RowLocked());
        QVERIFY(ui->app.Log().Text().find(FormatText(msg::kEditorCommandUnusable, "kate \"-b")) !=
                std::string::npos);
        // Nothing to ask about when the list is cleared.
        ui->TriggerTool(Command::ClearAll);
        QVERIFY(ui->host.questions.empty());
    }

    void theRowLockEndsWithARunThatLeavesNoRow() {
        ui->Add("a.txt");
        ui->Add("b.txt");
        ui->app.Settings().useExternalEditor = 1;
        ui->app.Settings().editorPath = "/bin/true";
        ui->TriggerMenu(Command::EditInTextEditor);
        QVERIFY(ui->app.Lock().RowLocked());
        const std::string textFile = AppInternals::RoundTrip(ui->app).TextFilePath();
        ui->app.Rules().SetNewName(0, "c.txt");
        ui->app.Rules().SetNewName(1, "d.txt");
        ui->host.yesNoAnswers = {true};
        ui->TriggerMenu(Command::Rename);
        QCOMPARE(ui->model->rowCount(), 0);
        QVERIFY(!ui->app.Lock().RowLocked());
        QVERIFY(!test::PathExists(textFile));
        QVERIFY(!ui->ToolButton(Command::EditorButton)->isChecked());
        QCOMPARE(ui->frame->Status()->RowLockPane()->Text(), QString());
        QVERIFY(ui->app.Log().Text().find(FormatText(msg::kUnlocked, textFile.c_str())) !=
                std::string::npos);
        // The next クリア asks nothing about an empty list.
        ui->TriggerTool(Command::ClearAll);
        QCOMPARE(ui->host.questions.size(), std::size_t{1});  // the rename's own
    }

    void anEmptyListSaysHowToFillIt() {
        const QString hint = ui->list->EmptyHint();
        QVERIFY(hint.contains("ドロップ"));
        QVERIFY(hint.contains("登録"));
        QVERIFY(hint.contains("Ins"));
        QCOMPARE(ui->list->accessibleDescription(), hint);
        ui->AddNumbered(1);
        QCOMPARE(ui->list->accessibleDescription(), QString());
    }

    void fileDialogsOpenAtHomeThenWhereTheUserWas() {
        QString first;
        test::OnModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            first = dialog->directory().absolutePath();
            dialog->setDirectory(Qs(ui->dir.MakeFolder("lists")));
            dialog->selectFile(Qs(ui->dir.MakeFile("lists/a.mvf")));
            static_cast<QDialog*>(dialog)->accept();
        });
        ui->host.QtHost::ChooseListFileToLoad();
        QCOMPARE(first, QDir::homePath());
        QString second;
        test::OnModal([&](QWidget* modal) {
            second = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
            qobject_cast<QDialog*>(modal)->reject();
        });
        ui->host.QtHost::ChooseFolderToRegister(msg::kFolderTitle);
        QCOMPARE(second, Qs(ui->dir / "lists"));
    }

    void aScreenReaderFindsNamesAndTexts() {
        const auto name = [](QObject* object) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
            return accessible != nullptr ? accessible->text(QAccessible::Name) : QString("none");
        };
        QCOMPARE(name(ui->list), QString("ファイルの一覧"));
        QCOMPARE(name(ui->frame->Log()), QString("ログ"));
        MainStatusBar* status = ui->frame->Status();
        QCOMPARE(name(status->CountPane()), QString("登録総数 : 0"));
        QCOMPARE(QAccessible::queryAccessibleInterface(status->CountPane())->role(),
                 QAccessible::StaticText);
        QCOMPARE(name(status->ErrorButton()), QString("エラー : 0"));
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
        ui->host.ShowRowLock(true);
        QCOMPARE(name(status->RowLockPane()), QString("行ロック"));

        // The icon column's heading has no text on screen, but a name.
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(ui->list);
        QStringList headings;
        for (int i = 0; i < table->childCount(); ++i) {
            QAccessibleInterface* cell = table->child(i);
            if (cell != nullptr && cell->role() == QAccessible::ColumnHeader)
                headings << cell->text(QAccessible::Name);
        }
        QVERIFY2(headings.contains("アイコン"), qPrintable(headings.join(',')));
        QVERIFY(!headings.contains(QString()));

        NameToolsDialog tools(ui->app.Tools(), ui->frame);
        QCOMPARE(name(tools.StepList()), QString("変更の手順"));
        Options options;
        DialogOption dialog(options, ui->app.Files(), ui->app.Log(), ui->frame);
        QCOMPARE(name(dialog.EditorPathField()), Qs(msg::kOptEditorCommand));
        QCOMPARE(name(dialog.TerminalEditorBox()), QString("端末で $EDITOR を使う (T)"));
    }

    void aScreenReaderReadsTheColumnsInTheOrderShown() {
        ui->AddNumbered(3);
        ui->app.Rules().SetNewName(1, "a/b");
        QHeaderView* header = ui->list->horizontalHeader();
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(ui->list);
        QAccessibleTableInterface* grid = table->tableInterface();
        QVERIFY(grid != nullptr);
        const auto shown = [&] {
            QStringList names;
            for (int visual = 0; visual < header->count(); ++visual)
                names << ui->model
                             ->headerData(header->logicalIndex(visual), Qt::Horizontal,
                                          Qt::AccessibleTextRole)
                             .toString();
            return names;
        };
        const auto read = [&] {
            QStringList described;
            QStringList children;
            for (int column = 0; column < grid->columnCount(); ++column) {
                described << grid->columnDescription(column);
                QAccessibleInterface* heading = table->child(column);
                children << (heading != nullptr && heading->role() == QAccessible::ColumnHeader
                                 ? heading->text(QAccessible::Name)
                                 : QString("?"));
            }
            return described == children ? described : QStringList{"differ"} + children;
        };
        // The program's own order already differs from the model's.
        QCOMPARE(read(), shown());
        header->moveSection(header->visualIndex(ColError), header->visualIndex(ColNewName) + 1);
        QCOMPARE(read(), shown());

        // A cell is read under its heading, with the text shown there.
        const int errorPlace = header->visualIndex(ColError);
        QAccessibleInterface* cell = grid->cellAt(1, errorPlace);
        QVERIFY(cell != nullptr);
        QCOMPARE(cell->text(QAccessible::Name), ui->Text(1, ColError));
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        QCOMPARE(place->columnIndex(), errorPlace);
        QCOMPARE(place->rowIndex(), 1);
        QCOMPARE(
            place->columnHeaderCells().value(0)->text(QAccessible::Name),
            ui->model->headerData(ColError, Qt::Horizontal, Qt::AccessibleTextRole).toString());
        QCOMPARE(table->indexOfChild(cell), (1 + 1) * ColumnCount + errorPlace);
        const QRect inView = ui->list->visualRect(ui->model->index(1, ColError));
        QCOMPARE(cell->rect().left(), ui->list->viewport()->mapToGlobal(inView.topLeft()).x());

        // The cell with the cursor is the one a reader is told of.
        ui->list->setCurrentIndex(ui->model->index(2, ColNewName));
        QAccessibleInterface* focused = table->focusChild();
        QVERIFY(focused != nullptr);
        QCOMPARE(focused->tableCellInterface()->columnIndex(), header->visualIndex(ColNewName));
        QCOMPARE(focused->text(QAccessible::Name), ui->Text(2, ColNewName));
    }

    void everyOptionAndButtonHasAnAccessKey() {
        Options options;
        DialogOption dialog(options, ui->app.Files(), ui->app.Log(), ui->frame);
        NameToolsDialog tools(ui->app.Tools(), ui->frame);
        tools.AddStep(0);
        QStringList keys;
        for (QDialog* window : std::initializer_list<QDialog*>{&dialog, &tools}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
                const QString text = button->text();
                if (!button->isVisible() || text.isEmpty() || text == "OK" || text == "キャンセル")
                    continue;
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
                const QString key = accessible->text(QAccessible::Accelerator);
                QVERIFY2(!key.isEmpty(), qPrintable(text));
                QVERIFY2(!keys.contains(window->objectName() + key), qPrintable(text));
                keys << window->objectName() + key;
            }
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (label->isVisible() && label->buddy() != nullptr)
                    QVERIFY2(label->text().contains('&'), qPrintable(label->text()));
            }
        }
        // The key is the one the setting's text shows.
        QCheckBox* below = nullptr;
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            if (box->text().startsWith(Qs(msg::kOptRegisterBelow)))
                below = box;
        }
        QVERIFY(below != nullptr);
        QCOMPARE(QAccessible::queryAccessibleInterface(below)->text(QAccessible::Accelerator),
                 QKeySequence(Qt::ALT | Qt::Key_S).toString(QKeySequence::NativeText));
    }

private:
    int CurrentRow() const { return ui->list->currentIndex().row(); }

    // A script that writes each of its arguments on a line of `out`.
    std::string WriteScript(const std::string& name, const std::string& out) {
        const std::string path =
            ui->dir.MakeFile("bin/" + name, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out +
                                                ".part'\nmv '" + out + ".part' '" + out + "'\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }

    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::KeyboardAndReaderTest)
#include "KeyboardAndReaderTest.moc"

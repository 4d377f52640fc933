// Every road into a command (key in the list, key in the frame, menu item, toolbar button)
// reaches the same handler behind the same guard; the name editor keeps its own keys.

#include <QMenuBar>
#include <functional>

#include "UiTestSupport.h"
#include "app/AppInternals.h"
#include "app/Command.h"
#include "host/Messages.h"

using morvane::test::UiApp;

namespace morvane {

class CommandRoadsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void removeAsksOnceUnderTheRowLockOnEveryRoad() {
        const std::vector<std::pair<const char*, std::function<void()>>> roads = {
            {"list key",
             [this] {
                 ui->list->setFocus();
                 QTest::keyClick(ui->list, Qt::Key_Delete);
             }},
            {"frame key",
             [this] {
                 ui->frame->setFocus();
                 QTest::keyClick(ui->frame, Qt::Key_Delete);
             }},
            {"frame key without focus",
             [this] {
                 if (QWidget* focused = QApplication::focusWidget())
                     focused->clearFocus();
                 QTest::keyClick(ui->frame, Qt::Key_Delete);
             }},
            {"menu", [this] { ui->TriggerMenu(Command::RemoveSelected); }},
            {"toolbar", [this] { ui->TriggerTool(Command::RemoveSelected); }},
        };
        ui->AddNumbered(static_cast<int>(roads.size()) + 1);
        for (const auto& [name, road] : roads) {
            const int rows = ui->model->rowCount();
            const std::size_t asked = ui->host.questions.size();
            AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
            ui->app.List().SetSelection({0});

            ui->host.yesNoAnswers = {false};
            road();
            QVERIFY2(ui->host.questions.size() == asked + 1, name);
            QCOMPARE(ui->host.questions.back().text, std::string(msg::kUnlockQuestion));
            QVERIFY2(ui->model->rowCount() == rows, name);
            QVERIFY(ui->app.Lock().RowLocked());

            ui->host.yesNoAnswers = {true};
            road();
            QVERIFY2(ui->host.questions.size() == asked + 2, name);
            QVERIFY2(ui->model->rowCount() == rows - 1, name);
            QVERIFY(!ui->app.Lock().RowLocked());
        }
    }

    void keysTypedInTheNameEditorEditTheName() {
        ui->AddNumbered(3);
        ui->app.List().SetSelection({1});
        ui->list->setFocus();
        QTest::keyClick(ui->list, Qt::Key_F2);
        QVERIFY(ui->editor->IsOpen());
        QCOMPARE(QApplication::focusWidget(), ui->editor);

        QTest::keyClick(ui->editor, Qt::Key_Home);
        QTest::keyClick(ui->editor, Qt::Key_Delete);
        QCOMPARE(ui->editor->text(), QString("001.txt"));
        QCOMPARE(ui->Text(1, ColNewName), QString("001.txt"));
        QCOMPARE(ui->model->rowCount(), 3);

        // Ctrl+A selects the editor's text, not the rows.
        QTest::keyClick(ui->editor, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(ui->editor->selectedText(), QString("001.txt"));
        QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{1});
        // Enter closes the editor; it does not open the row.
        QTest::keyClick(ui->editor, Qt::Key_Return);
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Text(1, ColNewName), QString("001.txt"));
        QVERIFY(ui->host.questions.empty());
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::CommandRoadsTest)
#include "CommandRoadsTest.moc"

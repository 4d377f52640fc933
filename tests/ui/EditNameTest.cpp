// The in-place name editor: typing applies at once, keys, read-only rows, moving, F5.

#include <QScrollBar>

#include "UiTestSupport.h"
#include "app/AppInternals.h"
#include "app/Command.h"
#include "host/Messages.h"

using morvane::test::UiApp;

namespace morvane {

class EditNameTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void typingALetterThenAColonIntoAnEmptyName() {
        const int row = ui->Add("x.txt");
        ui->app.Rules().SetNewName(row, "");
        QVERIFY(ui->app.List().EntryAt(row)->errors & ErrBlank);
        ui->app.List().SetSelection({row});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QVERIFY(ui->editor->IsOpen());
        QCOMPARE(ui->editor->geometry(), ui->list->visualRect(ui->model->index(row, ColNewName)));
        QTest::keyClicks(ui->editor, "a");
        QCOMPARE(ui->app.List().EntryAt(row)->errors, 0u);
        QCOMPARE(ui->Text(row, ColNewName), QString("a"));
        QTest::keyClicks(ui->editor, "/");
        QCOMPARE(ui->app.List().EntryAt(row)->errors, std::uint32_t{ErrForbidden});
        QVERIFY(ui->app.Log().Text().find(FormatText(msg::kForbidden, 1, "a/")) !=
                std::string::npos);
        QCOMPARE(ui->Text(row, ColError), QString("禁止 | "));
    }

    void aTrailingBlankStaysInTheBoxButNotInTheRow() {
        const int row = ui->Add("x.txt");
        ui->app.List().SetSelection({row});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QCOMPARE(ui->editor->selectedText(), QString("x.txt"));  // all text selected
        QTest::keyClicks(ui->editor, "new ");
        QCOMPARE(ui->Text(row, ColNewName), QString("new"));
        QCOMPARE(ui->editor->text(), QString("new "));
        QVERIFY(ui->app.Log().Text().find(FormatText(msg::kTrailingBlanks, 1, "new")) !=
                std::string::npos);
    }

    void bytesThatAreNotUtf8SurviveAnEditOfTheRest() {
        const int row = ui->Add("caf\xE9 \xF0\x9F\x98\x80.jpeg");
        ui->app.List().SetSelection({row});
        QTest::keyClick(ui->list, Qt::Key_F2);
        ui->editor->end(false);
        QTest::keyClick(ui->editor, Qt::Key_Backspace);
        QTest::keyClick(ui->editor, Qt::Key_Backspace);
        QTest::keyClicks(ui->editor, "g");
        QCOMPARE(ui->app.List().Cell(row, ColNewName),
                 std::string_view("caf\xE9 \xF0\x9F\x98\x80.jpg"));
    }

    void escapeKeepsWhatWasTypedAndEnterCommits() {
        ui->AddNumbered(2);
        ui->app.List().SetSelection({0});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QTest::keyClicks(ui->editor, "typed");
        QTest::keyClick(ui->editor, Qt::Key_Escape);
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Text(0, ColNewName), QString("typed"));
        QVERIFY(ui->list->hasFocus() || QApplication::focusWidget() == nullptr);

        ui->app.List().SetSelection({1});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QTest::keyClicks(ui->editor, "second");
        QTest::keyClick(ui->editor, Qt::Key_Return);
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Text(1, ColNewName), QString("second"));
    }

    void enterOnARowThatMayNotBeRenamedAppliesNothing() {
        const int row = ui->Add("x.txt");
        ui->app.List().EntryAt(row)->errors |= ErrRenameTest;
        ui->app.List().SetSelection({row});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QVERIFY(ui->editor->isReadOnly());
        QTest::keyClicks(ui->editor, "zzz");
        QCOMPARE(ui->editor->text(), QString("x.txt"));
        const std::string logBefore = ui->app.Log().Text();
        QTest::keyClick(ui->editor, Qt::Key_Return);
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->app.Log().Text(), logBefore);  // no check ran
        QCOMPARE(ui->Text(row, ColNewName), QString("x.txt"));
    }

    void upAndDownCarryTheEditorWithItsSelection() {
        ui->AddNumbered(3);
        ui->app.List().SetSelection({0});
        QTest::keyClick(ui->list, Qt::Key_F2);
        ui->editor->setSelection(1, 3);
        QTest::keyClick(ui->editor, Qt::Key_Up);  // first row: reopens on it
        QVERIFY(ui->editor->IsOpen());
        QCOMPARE(ui->editor->EditRow(), 0);
        QCOMPARE(ui->editor->selectionStart(), 1);
        QCOMPARE(ui->editor->selectedText(), QString("000"));
        QTest::keyClick(ui->editor, Qt::Key_Down);
        QCOMPARE(ui->editor->EditRow(), 1);
        QCOMPARE(ui->editor->text(), QString("f001.txt"));
        QCOMPARE(ui->editor->selectedText(), QString("001"));
        QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{1});
        QCOMPARE(ui->list->currentIndex().row(), 1);
        QTest::keyClick(ui->editor, Qt::Key_Down);
        QTest::keyClick(ui->editor, Qt::Key_Down);  // last row: stays
        QCOMPARE(ui->editor->EditRow(), 2);
        QCOMPARE(ui->editor->geometry(), ui->list->visualRect(ui->model->index(2, ColNewName)));
    }

    void clicksOpenOnTheNameCellAndCommitElsewhere() {
        ui->AddNumbered(3);
        QTest::mouseClick(ui->list->viewport(), Qt::LeftButton, {}, ui->CellCenter(1, ColNewName));
        QVERIFY(ui->editor->IsOpen());
        QCOMPARE(ui->editor->EditRow(), 1);
        QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{1});
        QVERIFY(!ui->editor->hasSelectedText());  // caret at the click
        ui->editor->setText("clicked");
        QTest::mouseClick(ui->list->viewport(), Qt::LeftButton, {},
                          ui->CellCenter(2, ColCurrentName));
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Text(1, ColNewName), QString("clicked"));
        QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{2});

        // A click on another row's name cell moves the open editor there.
        QTest::mouseClick(ui->list->viewport(), Qt::LeftButton, {}, ui->CellCenter(0, ColNewName));
        QTest::mouseClick(ui->list->viewport(), Qt::LeftButton, {}, ui->CellCenter(2, ColNewName));
        QCOMPARE(ui->editor->EditRow(), 2);
        QCOMPARE(ui->editor->text(), QString("f002.txt"));

        // Scrolling by the user commits too.
        ui->editor->setText("scrolled");
        ui->list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Text(2, ColNewName), QString("scrolled"));
    }

    void f5NamesTheSelectedRowsByPositionAndEnterRestoresTheFirst() {
        ui->AddNumbered(27);
        ui->app.List().SetSelection({0, 9, 26});
        QTest::keyClick(ui->list, Qt::Key_F5);
        QCOMPARE(ui->Text(0, ColNewName), QString("00000000"));
        QCOMPARE(ui->Text(9, ColNewName), QString("00000009"));
        QCOMPARE(ui->Text(26, ColNewName), QString("0000001a"));
        QVERIFY(ui->editor->IsOpen());
        QCOMPARE(ui->editor->text(), QString("f000.txt"));
        QTest::keyClick(ui->editor, Qt::Key_Return);
        QCOMPARE(ui->Text(0, ColNewName), QString("f000.txt"));
        QCOMPARE(ui->Text(9, ColNewName), QString("00000009"));
    }

    void theLimitLeavesRoomForTheDirectory() {
        const int row = ui->Add("x.txt");
        ui->app.List().SetSelection({row});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QCOMPARE(ui->editor->maxLength(), 31998 - ui->app.List().EntryAt(row)->dirLength);
    }

    void anUntouchedNameThatIsNotUtf8KeepsItsBytes() {
        const int row = ui->Add("caf\xE9.txt");
        QVERIFY(row >= 0);
        ui->app.List().SetSelection({row});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QTest::keyClick(ui->editor, Qt::Key_Return);
        const FileEntry* entry = ui->app.List().EntryAt(row);
        QCOMPARE(entry->NewKey(), entry->currentKey);
        QCOMPARE(std::string(ui->app.List().Cell(row, ColNewName)), std::string("caf\xE9.txt"));
    }

    void theEditorFollowsItsRowWhenRowsMove() {
        ui->AddNumbered(4);
        ui->app.List().SetSelection({3});
        QTest::keyClick(ui->list, Qt::Key_F2);
        ui->TriggerMenu(Command::MoveUp);  // the menu, while the editor is open
        QCOMPARE(ui->Text(2, ColCurrentName), QString("f003.txt"));
        QVERIFY(ui->editor->IsOpen());
        QCOMPARE(ui->editor->EditRow(), 2);
        QCOMPARE(ui->editor->geometry(), ui->list->visualRect(ui->model->index(2, ColNewName)));
        ui->editor->setText("moved.txt");
        QCOMPARE(std::string(ui->app.List().Cell(2, ColNewName)), std::string("moved.txt"));
        QCOMPARE(std::string(ui->app.List().Cell(3, ColNewName)), std::string("f002.txt"));

        // Removing rows closes the editor first: nothing is applied to a row that went.
        ui->app.List().SetSelection({2});
        AppInternals::Removal(ui->app).RemoveSelectedRows();
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Column(ColNewName), QStringList({"f000.txt", "f001.txt", "f002.txt"}));
    }

    void tabDoesNothingAndTheWheelCommits() {
        ui->AddNumbered(2);
        ui->frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ui->frame));
        ui->app.List().SetSelection({0});
        QTest::keyClick(ui->list, Qt::Key_F2);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui->editor));
        QTest::keyClicks(ui->editor, "tab");
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            QTest::keyClick(ui->editor, key,
                            key == Qt::Key_Tab ? Qt::NoModifier : Qt::ShiftModifier);
            QVERIFY(ui->editor->IsOpen());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui->editor));
        }
        QCOMPARE(ui->editor->text(), QString("tab"));

        // A turn too small to move the scroll bar still commits.
        ui->editor->setText("wheeled");
        const QPoint at = ui->CellCenter(1, ColCurrentName);
        QWheelEvent wheel(at, ui->list->viewport()->mapToGlobal(at), {}, QPoint(0, -30),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ui->list->viewport(), &wheel);
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Text(0, ColNewName), QString("wheeled"));
    }

    void headerDividerDragCommits() {
        ui->AddNumbered(2);
        ui->app.List().SetSelection({0});
        QTest::keyClick(ui->list, Qt::Key_F2);
        ui->editor->setText("dragged");
        QHeaderView* header = ui->list->horizontalHeader();
        const int divider = header->sectionViewportPosition(ColCurrentName) +
                            header->sectionSize(ColCurrentName) - 1;
        const QPoint at(divider, header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(ui->editor->IsOpen());
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, at + QPoint(30, 0));
        QVERIFY(!ui->editor->IsOpen());
        QCOMPARE(ui->Text(0, ColNewName), QString("dragged"));
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::EditNameTest)
#include "EditNameTest.moc"

// The list on screen: model adapter, colours, sorting by header, keys, selection, drops.

#include <QAbstractItemModelTester>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QMimeDatabase>
#include <QScrollBar>
#include <QSignalSpy>
#include <QUrl>

#include <QLabel>
#include "UiTestSupport.h"
#include "app/AppInternals.h"
#include "host/Messages.h"
#include "ui/ElidedLabel.h"
#include "ui/MainStatusBar.h"
#include "ui/MimeIconCache.h"
#include "ui/QtText.h"

using morvane::test::UiApp;

namespace morvane {

namespace {

QColor Foreground(const UiApp& ui, int row, int column) {
    return ui.model->data(ui.model->index(row, column), Qt::ForegroundRole).value<QColor>();
}
QVariant Background(const UiApp& ui, int row, int column) {
    return ui.model->data(ui.model->index(row, column), Qt::BackgroundRole);
}

void DropUrls(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
}

}  // namespace

class ListViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void appendedRowsReachTheViewInOneInsertionPerFlush() {
        QAbstractItemModelTester tester(ui->model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(ui->model, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 30; ++i)
            ui->dir.MakeFile("files/n" + std::to_string(i));
        for (int i = 0; i < 30; ++i)
            AppInternals::Registrar(ui->app).RegisterPath(ui->dir /
                                                          ("files/n" + std::to_string(i)));
        QCOMPARE(ui->model->rowCount(), 0);  // held back until the next flush
        QCOMPARE(inserted.size(), 0);
        ui->model->FlushAppends();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][1].toInt(), 0);
        QCOMPARE(inserted[0][2].toInt(), 29);
        QCOMPARE(ui->Text(29, ColCurrentName), QString("n29"));
        QCOMPARE(ui->Text(29, ColRowNumber), QString("30"));

        // Removal, sorting, moving and clearing keep the adapter consistent.
        ui->app.List().SetSelection({3, 4, 10});
        AppInternals::Removal(ui->app).RemoveSelectedRows();
        QCOMPARE(ui->model->rowCount(), 27);
        ui->ClickHeader(ColCurrentName);
        ui->app.List().SetSelection({5, 6});
        ui->app.Order().MoveRowsUp();
        AppInternals::Removal(ui->app).ClearAllRows();
        QCOMPARE(ui->model->rowCount(), 0);
    }

    void coloursFollowTheRulesInOrder() {
        ui->AddNumbered(4);
        // Stripes: odd positions grey, even ones the view's own background.
        QCOMPARE(Background(*ui, 1, ColSize).value<QColor>(), QColor(241, 241, 241));
        QVERIFY(!Background(*ui, 0, ColSize).isValid());
        QCOMPARE(Foreground(*ui, 0, ColSize), QColor(0, 0, 0));
        // An unchanged new name is pale blue, a changed one black.
        QCOMPARE(Foreground(*ui, 0, ColNewName), QColor(128, 196, 255));
        ui->app.Rules().SetNewName(0, "renamed.txt");
        QCOMPARE(Foreground(*ui, 0, ColNewName), QColor(0, 0, 0));
        // A row that may not be renamed: red text on the stripe.
        ui->app.List().EntryAt(1)->errors |= ErrRenameTest;
        ui->app.List().RefreshErrorColumn(1);
        QCOMPARE(Foreground(*ui, 1, ColCurrentName), QColor(255, 8, 8));
        QCOMPARE(Background(*ui, 1, ColCurrentName).value<QColor>(), QColor(241, 241, 241));
        // Other errors: red on pink, by parity.
        ui->app.Rules().SetNewName(2, "a/b");
        ui->app.Rules().SetNewName(3, "");
        QCOMPARE(Foreground(*ui, 2, ColCurrentName), QColor(228, 16, 16));
        QCOMPARE(Background(*ui, 2, ColCurrentName).value<QColor>(), QColor(255, 218, 218));
        QCOMPARE(Background(*ui, 3, ColNewName).value<QColor>(), QColor(255, 204, 204));
        QCOMPARE(Foreground(*ui, 3, ColNewName), QColor(228, 16, 16));
        // The "行" column ignores all of it.
        QCOMPARE(Foreground(*ui, 2, ColRowNumber), QColor(196, 196, 196));
        QCOMPARE(Background(*ui, 2, ColRowNumber).value<QColor>(), QColor(255, 255, 255));
        QSignalSpy changed(ui->model, &QAbstractItemModel::dataChanged);
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
        ui->host.ShowRowLock(true);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(Foreground(*ui, 2, ColRowNumber), QColor(0, 0, 0));
        QCOMPARE(Background(*ui, 2, ColRowNumber).value<QColor>(), QColor(196, 196, 248));
        QVERIFY(!ui->model->data(ui->model->index(0, ColIcon), Qt::DecorationRole)
                     .value<QIcon>()
                     .isNull());
        QCOMPARE(ui->model->data(ui->model->index(0, ColSize), Qt::TextAlignmentRole)
                         .value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
    }

    void typeNamesAndIconsComeFromTheMimeTypeOfTheName() {
        const int a = ui->Add("a.txt", "%PDF-1.4 content does not count, only the name");
        const int b = ui->Add("b.TXT");
        ui->dir.MakeFolder("files/dir");
        AppInternals::Registrar(ui->app).RegisterPath(ui->dir / "files/dir");
        ui->model->FlushAppends();
        // Japanese under the tests' C locale, as shared-mime-info words it; the locale is left
        // as it was.
        QCOMPARE(ui->Text(a, ColType), QString("平文テキストドキュメント"));
        QCOMPARE(ui->Text(2, ColType), QString("フォルダー"));
        QCOMPARE(QLocale().language(), QLocale::system().language());
        const ListModel& list = ui->app.List();
        QCOMPARE(list.Row(a).icon, list.Row(b).icon);
        QVERIFY(list.Row(a).icon != list.Row(2).icon);
        QVERIFY(list.Row(a).icon > 0);  // 0 is the drive rows' icon
        QVERIFY(!ui->host.Icons().Icon(0).isNull());
        QVERIFY(ui->host.Icons().Icon(ui->host.Icons().Count()).isNull());
    }

    void typeNamesAreTheDatabasesAnswerForEveryName() {
        // Names that share their text after the first dot share a cached answer; names the
        // cache must not answer are checked against the database itself.
        const QStringList names = {"a.txt",
                                   "b.txt",
                                   "B.TXT",
                                   "x.tar.gz",
                                   "y.gz",
                                   "Makefile",
                                   "CMakeLists.txt",
                                   "README",
                                   "README.md",
                                   "notes.txt~",
                                   "foo~",
                                   "a.c",
                                   "b.C",
                                   "lib.so.1",
                                   "libz.so.1",
                                   "man.1",
                                   "123.vdr",
                                   "abc.vdr",
                                   "x,v",
                                   "a.b,v",
                                   ".bashrc",
                                   "archive.",
                                   "noext",
                                   "photo.JPG",
                                   "photo.jpg",
                                   "core",
                                   "a.tar.gz",
                                   "Makefile.am",
                                   "a.anim1",
                                   "b.anim1"};
        const QMimeDatabase db;
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        MimeIconCache& cache = ui->host.Icons();
        for (int round = 0; round < 2; ++round) {
            for (const QString& name : names) {
                std::string type;
                int icon = -1;
                cache.Describe("/some/dir/" + name.toStdString(), false, &type, &icon);
                const QMimeType expected = db.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
                QCOMPARE(QString::fromStdString(type), expected.comment());
            }
        }
        QLocale::setDefault(QLocale::system());
    }

    void screenshotWithRowsInEveryColourState() {
        ui->Add("photo.jpg", "jpeg");
        ui->Add("notes.txt", "some notes");
        ui->Add("report.pdf", std::string(5000, 'x'));
        ui->Add("locked.sh", "#!/bin/sh");
        ui->Add("bad.txt");
        ui->Add("blank.txt");
        ui->dir.MakeFolder("files/folder");
        {
            Registration::Run run(AppInternals::Registrar(ui->app));
            AppInternals::Registrar(ui->app).RegisterPath(ui->dir / "files/folder");
        }
        ui->model->FlushAppends();
        ui->app.Rules().SetNewName(0, "2024-旅行.jpg");
        ui->app.Rules().SetNewName(1, "メモ.txt");
        ui->app.List().EntryAt(3)->errors |= ErrRenameTest;
        ui->app.List().RefreshErrorColumn(3);
        ui->app.Rules().SetNewName(4, "bad/name.txt");
        ui->app.Rules().SetNewName(5, "");
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
        ui->host.ShowRowLock(true);
        ui->app.List().SetSelection({6});
        QTest::qWait(50);
        const QImage shot = ui->frame->grab().toImage();
        QVERIFY(!shot.isNull());
        const QString path = QCoreApplication::applicationDirPath() + "/../list-screenshot.png";
        QVERIFY(shot.save(path));
    }

    void headerClicksSort() {
        ui->Add("b.txt", std::string(10, 'x'));
        ui->Add("A.txt", std::string(9, 'x'));
        ui->Add("Z.txt", std::string(100, 'x'));
        ui->Add("a.txt");
        QHeaderView* header = ui->list->horizontalHeader();
        QVERIFY(!header->isSortIndicatorShown());
        ui->ClickHeader(ColCurrentName);  // first click: Z before A
        QCOMPARE(ui->Column(ColCurrentName), QStringList({"b.txt", "a.txt", "Z.txt", "A.txt"}));
        QCOMPARE(ui->Column(ColRowNumber), QStringList({"1", "2", "3", "4"}));
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), int{ColCurrentName});
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        ui->ClickHeader(ColCurrentName);
        QCOMPARE(ui->Column(ColCurrentName), QStringList({"A.txt", "Z.txt", "a.txt", "b.txt"}));
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        // A row moved by hand: the list is no longer in that order.
        ui->app.List().SetSelection({0});
        ui->app.Execute(Command::MoveDown);
        QVERIFY(!header->isSortIndicatorShown());
        ui->ClickHeader(ColSize);
        ui->ClickHeader(ColSize);  // ascending, as numbers: 9 before 10
        QCOMPARE(ui->Column(ColSize), QStringList({"0", "9", "10", "100"}));
        for (int row = 0; row < 4; ++row)
            QCOMPARE(ui->app.List().EntryAt(row)->row, row);

        // "行" sorts only while the row lock holds.
        ui->ClickHeader(ColRowNumber);
        QCOMPARE(ui->Column(ColSize), QStringList({"0", "9", "10", "100"}));
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
        ui->ClickHeader(ColCurrentName);  // numbers stay with their rows
        QCOMPARE(ui->Column(ColRowNumber), QStringList({"3", "1", "4", "2"}));
        ui->ClickHeader(ColRowNumber);  // second click on it: ascending
        QCOMPARE(ui->Column(ColRowNumber), QStringList({"1", "2", "3", "4"}));
        QCOMPARE(ui->Column(ColSize), QStringList({"0", "9", "10", "100"}));
    }

    void aRowInErrorExplainsItselfOnItsNewName() {
        ui->Add("a.txt");
        ui->Add("b.txt");
        ui->Add("c.txt");
        ui->app.List().RenumberRows();
        ui->app.Rules().SetNewName(0, "same.txt");
        ui->app.Rules().SetNewName(1, "same.txt");
        ui->app.Rules().SetNewName(2, "bad/");
        ui->model->FlushAppends();
        const auto tip = [&](int row, int column) {
            return ui->model->data(ui->model->index(row, column), Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(1, ColNewName), Qs(FormatText(msg::kDuplicate, 2, 1)));
        QCOMPARE(tip(2, ColNewName), Qs(FormatText(msg::kForbidden, 3, "bad/") +
                                        FormatText(msg::kRefusedHere, "/ と NUL と改行")));
        QVERIFY(tip(0, ColCurrentName).isEmpty());
        ui->app.Rules().SetNewName(2, "");
        QCOMPARE(tip(2, ColNewName), Qs(FormatText(msg::kBlankName, 3)));
        ui->app.Rules().SetNewName(1, "other.txt");
        QVERIFY(tip(0, ColNewName).isEmpty());
    }

    void iconColumnSortsAscendingFirst() {
        ui->Add("a.txt");
        ui->dir.MakeFolder("files/dir");
        AppInternals::Registrar(ui->app).RegisterPath(ui->dir / "files/dir");
        ui->Add("c.png");
        ui->model->FlushAppends();
        std::vector<int> icons;
        for (int row = 0; row < 3; ++row)
            icons.push_back(ui->app.List().Row(row).icon);
        ui->ClickHeader(ColIcon);
        for (int row = 1; row < 3; ++row)
            QVERIFY(ui->app.List().Row(row - 1).icon <= ui->app.List().Row(row).icon);
        QCOMPARE(ui->list->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        ui->ClickHeader(ColIcon);
        for (int row = 1; row < 3; ++row)
            QVERIFY(ui->app.List().Row(row - 1).icon >= ui->app.List().Row(row).icon);
        QVERIFY(icons[0] != icons[1] && icons[1] != icons[2]);
    }

    void selectionIsMirroredBothWays() {
        ui->AddNumbered(6);
        // Core to view.
        ui->app.List().SetSelection({1, 2, 4});
        QCOMPARE(ui->list->selectionModel()->selectedRows().size(), 3);
        QVERIFY(ui->list->selectionModel()->isRowSelected(4, {}));
        // View to core: a click selects one row, a Ctrl+click adds one.
        QTest::mouseClick(ui->list->viewport(), Qt::LeftButton, {},
                          ui->CellCenter(0, ColCurrentName));
        QTest::mouseClick(ui->list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          ui->CellCenter(5, ColSize));
        QCOMPARE(ui->app.List().SelectedRows(), (std::vector<int>{0, 5}));
        QCOMPARE(ui->app.List().FocusRow(), 5);
        // Ctrl+A in the list selects all through the core.
        QTest::keyClick(ui->list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(ui->app.List().SelectedRows().size(), std::size_t{6});
        QCOMPARE(ui->list->selectionModel()->selectedRows().size(), 6);
    }

    void altUpAndDownMoveTheSelectedRows() {
        ui->AddNumbered(6);
        ui->app.List().SetSelection({3, 4});
        ui->list->setFocus();
        QTest::keyClick(ui->list, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(ui->Column(ColCurrentName), QStringList({"f000.txt", "f001.txt", "f003.txt",
                                                          "f004.txt", "f002.txt", "f005.txt"}));
        QCOMPARE(ui->app.List().FocusRow(), 2);
        QCOMPARE(ui->list->currentIndex().row(), 2);
        QVERIFY(ui->list->selectionModel()->isRowSelected(2, {}));
        QVERIFY(ui->list->selectionModel()->isRowSelected(3, {}));
        QVERIFY(!ui->list->selectionModel()->isRowSelected(4, {}));
        QTest::keyClick(ui->list, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(ui->Text(3, ColCurrentName), QString("f003.txt"));
        QCOMPARE(ui->app.List().FocusRow(), 4);
        // Rows 0 and 5: nothing moves.
        ui->app.List().SetSelection({0, 5});
        QTest::keyClick(ui->list, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(ui->Text(0, ColCurrentName), QString("f000.txt"));
        QCOMPARE(ui->Text(5, ColCurrentName), QString("f005.txt"));
        // A plain Up only moves the current row.
        ui->app.List().SetSelection({3});
        ui->app.List().SetFocusRow(3);
        ui->app.List().NotifySelectionChanged();
        QTest::keyClick(ui->list, Qt::Key_Up);
        QCOMPARE(ui->Text(3, ColCurrentName), QString("f003.txt"));
        QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{2});
    }

    void homeAndEndGoToTheFirstAndLastRowAndSelectIt() {
        ui->AddNumbered(30);
        ui->list->setCurrentIndex(ui->model->index(3, ColCurrentName));
        const int scrolled = ui->list->horizontalScrollBar()->value();
        for (const auto modifier : {Qt::NoModifier, Qt::ControlModifier}) {
            QTest::keyClick(ui->list, Qt::Key_End, modifier);
            QCOMPARE(ui->list->currentIndex().row(), 29);
            QCOMPARE(ui->list->currentIndex().column(), int{ColCurrentName});
            QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{29});
            QTest::keyClick(ui->list, Qt::Key_Home, modifier);
            QCOMPARE(ui->list->currentIndex().row(), 0);
            QCOMPARE(ui->app.List().SelectedRows(), std::vector<int>{0});
        }
        QCOMPARE(ui->list->horizontalScrollBar()->value(), scrolled);
    }

    void doubleClickOpensAFolderAndBackspaceGoesUp() {
        ui->dir.MakeFile("files/sub/inner.txt");
        ui->dir.MakeFile("files/other.txt");
        AppInternals::Registrar(ui->app).RegisterPath(ui->dir / "files/sub");
        ui->model->FlushAppends();
        // The first click of a double click selects the row.
        QTest::mouseClick(ui->list->viewport(), Qt::LeftButton, {},
                          ui->CellCenter(0, ColCurrentName));
        QTest::mouseDClick(ui->list->viewport(), Qt::LeftButton, {},
                           ui->CellCenter(0, ColCurrentName));
        QTRY_COMPARE(ui->Column(ColCurrentName), QStringList({"inner.txt"}));
        QCOMPARE(AppInternals::Navigator(ui->app).CurrentFolder(), ui->dir / "files/sub");
        QVERIFY(ui->frame->isEnabled());

        ui->list->setFocus();
        QTest::keyClick(ui->list, Qt::Key_Backspace);
        QTRY_COMPARE(ui->model->rowCount(), 2);
        QStringList names = ui->Column(ColCurrentName);
        names.sort();
        QCOMPARE(names, QStringList({"other.txt", "sub"}));
    }

    void deleteInTheListAsksUnderTheLock() {
        ui->AddNumbered(3);
        ui->app.List().SetSelection({1});
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(true);
        QTest::keyClick(ui->list, Qt::Key_Delete);
        QCOMPARE(ui->host.questions.size(), std::size_t{1});
        QCOMPARE(ui->model->rowCount(), 3);
        AppInternals::RoundTrip(ui->app).SetRowLockedForTest(false);
        ui->list->setFocus();
        QTest::keyClick(ui->list, Qt::Key_Delete);
        QCOMPARE(ui->Column(ColCurrentName), QStringList({"f000.txt", "f002.txt"}));
        QCOMPARE(ui->Column(ColRowNumber), QStringList({"1", "2"}));
        // The window was disabled while the rows went; the list keeps the focus.
        QVERIFY(ui->frame->isEnabled());
        QCOMPARE(ui->frame->focusWidget(), ui->list);
    }

    void ctrlSOverwritesTheListFileFromTheListAndTheFrame() {
        ui->AddNumbered(2);
        const std::string path = ui->dir / "saved.mvf";
        AppInternals::ListFiles(ui->app).SetListFilePath(path);
        QTest::keyClick(ui->list, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(test::PathExists(path));
        QVERIFY(ui->app.Log().Text().find(FormatText(msg::kOverwriteSaved, path.c_str())) !=
                std::string::npos);
        std::remove(path.c_str());
        ui->frame->setFocus();
        QTest::keyClick(ui->frame, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(test::PathExists(path));
    }

    void dropOfThreeFileUrlsRegistersThreeRows() {
        QList<QUrl> urls;
        for (const char* name : {"one.txt", "two.txt", "three.txt"})
            urls << QUrl::fromLocalFile(QString::fromStdString(ui->dir.MakeFile(name)));
        urls << QUrl("https://example.org/not-local.txt");
        DropUrls(ui->list->viewport(), urls);
        QTRY_COMPARE(ui->model->rowCount(), 3);
        QCOMPARE(ui->Column(ColCurrentName), QStringList({"one.txt", "two.txt", "three.txt"}));
        QVERIFY(ui->app.Log().Text().find(msg::kRegisterStart) != std::string::npos);
        QTRY_VERIFY(ui->host.ProgressDialog() == nullptr);
        QCOMPARE(ui->frame->Status()->CountPane()->Text(), QString("登録総数 : 3"));
    }

    void droppedNameThatIsNotUtf8KeepsItsBytes() {
        const std::string path = ui->dir.MakeFile("caf\xE9.txt");  // Latin-1, not UTF-8
        QByteArray url = "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
        DropUrls(ui->list->viewport(), {QUrl::fromEncoded(url)});
        QTRY_COMPARE(ui->model->rowCount(), 1);
        QCOMPARE(ui->app.List().EntryAt(0)->currentKey, path);
    }

    void appendsWhileARegistrationHandlesEventsStayFast() {
        // Rows show up while a registration runs, in a few batches, not one by one.
        QSignalSpy inserted(ui->model, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 200; ++i)
            ui->dir.MakeFile("many/m" + std::to_string(1000 + i));
        ui->host.foldersToRegister = {ui->dir / "many"};
        ui->app.Execute(Command::RegisterFolder);
        QTRY_COMPARE(ui->model->rowCount(), 201);
        QVERIFY(inserted.size() < 201);
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::ListViewTest)
#include "ListViewTest.moc"

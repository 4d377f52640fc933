// The name tools' dialog: keys, the step list, the preview and the presets.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "UiTestSupport.h"
#include "app/AppInternals.h"
#include "app/Command.h"
#include "ui/NameToolsDialog.h"
#include "ui/NameToolsPreview.h"
#include "ui/QtText.h"
#include "ui/StepForm.h"

using morvane::test::UiApp;

namespace morvane {

class NameToolsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void ctrlHTypeFindTabReplacementEnterRenamesTheRows() {
        ui->AddNumbered(3);
        ui->dir.MakeFile("files/g001.txt");  // not registered: the second new name meets it
        bool typed = false;
        QString previewName;
        QString previewProblem;
        auto* timer = new QTimer(ui->frame);
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, [&, timer] {
            auto* dialog = qobject_cast<NameToolsDialog*>(QApplication::activeModalWidget());
            // Keys go where the focus is: wait until the dialog has given it to its field.
            QWidget* focus = QApplication::focusWidget();
            if (dialog == nullptr || focus == nullptr || !dialog->isAncestorOf(focus))
                return;
            timer->stop();
            QTest::keyClicks(focus, "f");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), "g");
            NameToolsPreview* preview = dialog->Preview();
            previewName =
                preview->data(preview->index(0, NameToolsPreview::NewName), Qt::DisplayRole)
                    .toString();
            previewProblem =
                preview->data(preview->index(1, NameToolsPreview::Problem), Qt::DisplayRole)
                    .toString();
            typed = true;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            // Whatever went wrong, the dialog must not stay open and hold the test.
            if (QApplication::activeModalWidget() == dialog)
                dialog->reject();
        });
        timer->start();
        ui->list->setFocus();
        QTest::keyClick(ui->list, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(typed);
        QCOMPARE(previewName, QString("g000.txt"));
        QCOMPARE(previewProblem, Qs(ErrorCellText(ErrExists)));
        QCOMPARE(ui->Text(0, ColNewName), QString("g000.txt"));
        QCOMPARE(ui->Text(1, ColNewName), QString("g001.txt"));
        QCOMPARE(ui->Text(2, ColNewName), QString("g002.txt"));
        QCOMPARE(ui->Text(1, ColError), Qs(ErrorCellText(ErrExists)));
        QCOMPARE(ui->Text(0, ColError), QString());
        const QColor errorBackground =
            ui->model->data(ui->model->index(1, ColNewName), Qt::BackgroundRole).value<QColor>();
        QVERIFY(errorBackground.red() > errorBackground.blue());
    }

    void stepsAreAddedSwitchedOffReorderedAndOnlyShownRowsComputed() {
        ui->AddNumbered(400);
        NameTools& tools = ui->app.Tools();
        tools.GatherTargets();
        tools.SetSteps({ReplaceStep{true, "f", "g", false, true, true}});
        NameToolsDialog dialog(tools, ui->frame);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        NameToolsPreview* preview = dialog.Preview();
        const auto newName = [&] {
            QApplication::processEvents();
            return preview->data(preview->index(0, NameToolsPreview::NewName), Qt::DisplayRole)
                .toString();
        };
        QCOMPARE(newName(), QString("g000.txt"));
        QVERIFY(preview->ComputedCount() > 0);
        QVERIFY(preview->ComputedCount() < 100);  // what the view shows, not all 400

        dialog.AddStep(4);  // case: opens on 変更しない, then upper on the stem
        QCOMPARE(newName(), QString("g000.txt"));
        qobject_cast<QComboBox*>(dialog.FormAt(1)->Fields()[0])->setCurrentIndex(1);
        QCOMPARE(newName(), QString("G000.txt"));
        dialog.StepList()->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(newName(), QString("g000.txt"));
        dialog.StepList()->item(1)->setCheckState(Qt::Checked);
        dialog.MoveStep(-1);  // upper first: the find text no longer matches
        QCOMPARE(newName(), QString("F000.txt"));
        dialog.RemoveStep();
        QCOMPARE(newName(), QString("g000.txt"));

        // An expression that does not compile is shown, and OK is off.
        auto* find = qobject_cast<QLineEdit*>(dialog.FormAt(0)->Fields()[0]);
        qobject_cast<QCheckBox*>(dialog.FormAt(0)->Fields()[2])->setChecked(true);
        find->setText("(");
        QVERIFY(dialog.Message()->text().contains("正規表現が正しくありません"));
        QVERIFY(!dialog.OkButton()->isEnabled());
    }

    void presetsAreSavedChosenAgainAndListedInTheMenu() {
        ui->AddNumbered(2);
        NameTools& tools = ui->app.Tools();
        tools.GatherTargets();
        tools.SetSteps({ReplaceStep{true, "f", "photo-", false, true, true}});
        {
            NameToolsDialog dialog(tools, ui->frame);
            QVERIFY(dialog.SavePreset("写真"));
        }
        tools.SetSteps({ReplaceStep{}});
        // The user's own formatting, which choosing a preset must leave alone.
        const std::string presetsPath = tools.Presets().Path();
        const std::string handMade = "; mine\n\n" + test::ReadFileText(presetsPath) + "; end\n";
        ui->dir.MakeFile("program/presets.ini", handMade);
        tools.Presets().Load();
        NameToolsDialog dialog(tools, ui->frame);
        QCOMPARE(dialog.PresetBox()->itemText(1), QString("写真"));
        dialog.PresetBox()->setCurrentIndex(1);
        dialog.ChoosePreset(1);
        QCOMPARE(qobject_cast<QLineEdit*>(dialog.FormAt(0)->Fields()[1])->text(),
                 QString("photo-"));
        dialog.accept();
        QCOMPARE(test::ReadFileText(presetsPath), handMade);

        QMenu* recent = ui->frame->RecentPresetsMenu();
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions()[0]->text(), QString("&1 写真"));

        // A damaged file is shown and cannot be saved over.
        const std::string path = ui->app.Tools().Presets().Path();
        ui->dir.MakeFile("program/presets.ini", "broken\n");
        tools.Presets().Load();
        NameToolsDialog damaged(tools, ui->frame);
        QVERIFY(damaged.Message()->text().contains("プリセットファイルが壊れている"));
        QVERIFY(!damaged.SavePresetButton()->isEnabled());
        QCOMPARE(test::ReadFileText(path), std::string("broken\n"));
    }

    void newStepsChangeNothingAndTabGoesIntoTheForm() {
        ui->Add("Ａbｶ.TXT");
        NameTools& tools = ui->app.Tools();
        tools.GatherTargets();
        tools.SetSteps({ReplaceStep{}});
        NameToolsDialog dialog(tools, ui->frame);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        NameToolsPreview* preview = dialog.Preview();
        for (std::size_t kind = 0; kind < std::variant_size_v<NameStep>; ++kind) {
            // Numbers and dates are added by their nature; every other step waits for a choice.
            const NameStep step = StepForm::NewStep(kind);
            if (std::holds_alternative<DateStep>(step) || std::holds_alternative<NumberStep>(step))
                continue;
            dialog.AddStep(kind);
            QCOMPARE(preview->data(preview->index(0, NameToolsPreview::NewName), Qt::DisplayRole)
                         .toString(),
                     QString("Ａbｶ.TXT"));
            dialog.RemoveStep();
        }

        // Every kind in the 追加 menu has its own access key.
        QSet<QChar> keys;
        for (std::size_t kind = 0; kind < std::variant_size_v<NameStep>; ++kind) {
            const QString text = StepForm::KindMenuText(kind);
            const qsizetype amp = text.indexOf('&');
            QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
            keys.insert(text[amp + 1]);
        }
        QCOMPARE(keys.size(), static_cast<qsizetype>(std::variant_size_v<NameStep>));

        // Tab: the step list, the fields of the step's form, then the buttons.
        dialog.AddStep(4);
        dialog.StepList()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.StepList()));
        const std::vector<QWidget*>& fields = dialog.FormAt(1)->Fields();
        for (QWidget* field : fields) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), field);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), QString("追加 (&A)"));
    }

    void namesThatAreNotUtf8AreShownAsTheListShowsThem() {
        ui->Add("caf\xE9.jpeg");
        NameTools& tools = ui->app.Tools();
        tools.GatherTargets();
        tools.SetSteps({WidthStep{true, WidthKind::Nfc, NamePart::Whole},
                        CaseStep{true, CaseKind::Upper, NamePart::Extension}});
        NameToolsDialog dialog(tools, ui->frame);
        NameToolsPreview* preview = dialog.Preview();
        const QString listed = ui->Text(0, ColCurrentName);
        QCOMPARE(preview->data(preview->index(0, NameToolsPreview::CurrentName), Qt::DisplayRole)
                     .toString(),
                 listed);
        QCOMPARE(
            preview->data(preview->index(0, NameToolsPreview::NewName), Qt::DisplayRole).toString(),
            QString(listed).replace("jpeg", "JPEG"));
        QVERIFY(tools.Apply());
        QCOMPARE(ui->app.List().Cell(0, ColNewName), std::string_view("caf\xE9.JPEG"));
    }

    void foldersAreTargetsOnlyWhenTicked() {
        ui->Add("album/a.flac");
        NameTools& tools = ui->app.Tools();
        QVERIFY(AppInternals::Registrar(ui->app).RegisterPathEvenFolder(ui->dir / "files/album",
                                                                        nullptr));
        ui->model->FlushAppends();
        tools.GatherTargets();
        tools.SetSteps({CaseStep{true, CaseKind::Upper, NamePart::Whole}});
        NameToolsDialog dialog(tools, ui->frame);
        QCOMPARE(dialog.Preview()->rowCount(), 1);
        QVERIFY(dialog.Message()->text().contains("フォルダ 1 個は対象にしていません"));
        QVERIFY(dialog.FoldersBox()->isEnabled());
        dialog.FoldersBox()->setChecked(true);
        QCOMPARE(dialog.Preview()->rowCount(), 2);
        QCOMPARE(dialog.Preview()
                     ->data(dialog.Preview()->index(1, NameToolsPreview::NewName), Qt::DisplayRole)
                     .toString(),
                 QString("ALBUM"));
        QVERIFY(!dialog.Message()->text().contains("フォルダ"));
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::NameToolsDialogTest)
#include "NameToolsDialogTest.moc"

// What the bars, panes and the progress window put on the screen, read from their pixels.

#include <QImage>
#include <cstdlib>
#include <functional>

#include "UiTestSupport.h"
#include "ui/DialogProcess.h"
#include "ui/ElidedLabel.h"
#include "ui/MainStatusBar.h"
#include "ui/ProgressStrip.h"

using morvane::test::UiApp;

namespace morvane {

namespace {

QImage Shot(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool ClearlyDiffer(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) >
           60;
}

// Set to a half, the bar's middle line differs from its empty look on the left half only.
void CheckHalfFilled(ProgressStrip* bar, const std::function<void(float)>& set) {
    set(0.0f);
    const QImage empty = Shot(bar);
    set(0.5f);
    const QImage half = Shot(bar);
    QCOMPARE(half.size(), empty.size());
    const int width = half.width();
    const int y = half.height() / 2;
    int filled = 0;
    int filledOnTheRight = 0;
    for (int x = 0; x < width; ++x) {
        if (ClearlyDiffer(half.pixel(x, y), empty.pixel(x, y))) {
            ++filled;
            if (x > width * 55 / 100)
                ++filledOnTheRight;
        }
    }
    QVERIFY2(std::abs(filled - width / 2) <= 3, qPrintable(QString::number(filled)));
    QCOMPARE(filledOnTheRight, 0);
    set(0.0f);
}

// The label, given its text, paints pixels that its empty look does not have.
void CheckPaintsText(ElidedLabel* label, const std::function<void()>& setText) {
    setText();
    QVERIFY(!label->Text().isEmpty());
    const QImage shown = Shot(label);
    const QString text = label->Text();
    label->SetText(QString());
    const QImage empty = Shot(label);
    label->SetText(text);
    QCOMPARE(shown.size(), empty.size());
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            inked += ClearlyDiffer(shown.pixel(x, y), empty.pixel(x, y)) ? 1 : 0;
    }
    QVERIFY2(inked >= 20, qPrintable(text + ": " + QString::number(inked)));
}

}  // namespace

class PaintTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui = std::make_unique<UiApp>(); }
    void cleanup() { ui.reset(); }

    void barsFillTheirShareAndPanesAndLabelsShowTheirText() {
        ui->host.OpenProgressDialog();
        DialogProcess* dialog = ui->host.ProgressDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));

        CheckHalfFilled(ui->frame->Status()->ProgressBar(),
                        [this](float f) { ui->host.SetStatusProgress(f); });
        CheckHalfFilled(dialog->OverallBar(), [this](float f) { ui->host.SetOverallProgress(f); });
        CheckHalfFilled(dialog->DetailBar(), [this](float f) { ui->host.SetDetailProgress(f); });

        MainStatusBar* status = ui->frame->Status();
        CheckPaintsText(status->RowLockPane(), [this] { ui->host.ShowRowLock(true); });
        CheckPaintsText(status->CountPane(), [this] { ui->host.ShowRegisteredCount(123); });
        CheckPaintsText(dialog->OverallLabel(), [this] { ui->host.SetOverallText("/tmp/a.txt"); });
        CheckPaintsText(dialog->DetailLabel(), [this] { ui->host.SetDetailText("search..."); });
    }

    void theProgressWindowOpensCentredOnTheMainWindow() {
        // Away from the screen's centre, so centring on the screen would not pass.
        ui->frame->setGeometry(20, 30, 520, 400);
        QTRY_COMPARE(ui->frame->geometry(), QRect(20, 30, 520, 400));
        ui->host.OpenProgressDialog();
        DialogProcess* dialog = ui->host.ProgressDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QPoint off = dialog->frameGeometry().center() - ui->frame->frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 4,
                 qPrintable(QString("%1, %2").arg(off.x()).arg(off.y())));
    }

private:
    std::unique_ptr<UiApp> ui;
};

}  // namespace morvane

QTEST_MAIN(morvane::PaintTest)
#include "PaintTest.moc"

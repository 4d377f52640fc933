// The program icon comes from the hand-drawn SVG compiled into the program and
// has an exact image for the common sizes at both 1x and 2x.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QtTest>

#include "ui/AppIcon.h"

namespace {

// Share of pixels that are not fully transparent: a broken resource or SVG gives 0.
double CoveredShare(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int covered = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            covered += qAlpha(argb.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return static_cast<double>(covered) / (argb.width() * argb.height());
}

}  // namespace

class AppIconTest : public QObject {
    Q_OBJECT

private slots:
    void iconHasExactImagesAtOneAndTwoTimes() {
        const QIcon icon = morvane::MorvaneIcon();
        QVERIFY(!icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
        }
        // Window and toolbar sizes at scale 1 and 2 get images of exactly that many
        // device pixels, drawn at that size, not stretched from a smaller one.
        for (const int logical : {16, 24, 32, 48}) {
            for (const qreal scale : {1.0, 2.0}) {
                const QPixmap pixmap = icon.pixmap(QSize(logical, logical), scale);
                const int device = qRound(logical * scale);
                QCOMPARE(pixmap.size(), QSize(device, device));
                const QImage image = pixmap.toImage();
                QVERIFY2(
                    CoveredShare(image) > 0.6,
                    qPrintable(
                        QStringLiteral("%1 px at %2x is mostly empty").arg(logical).arg(scale)));
            }
        }
    }

    void iconIsTheRoundedTileOfTheSvg() {
        const QImage drawn = morvane::MorvaneIcon().pixmap(QSize(64, 64), 1.0).toImage();
        // The tile's corners are rounded (transparent), its centre opaque.
        QCOMPARE(qAlpha(drawn.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(drawn.pixel(32, 32)), 255);
    }
};

QTEST_MAIN(AppIconTest)
#include "AppIconTest.moc"

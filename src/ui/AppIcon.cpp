#include "ui/AppIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <array>

// A resource compiled into a static library is only linked when something names it.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace morvane {
namespace {

// The hicolor sizes; with 2x screens a 16 px slot takes the 32 px image and so on,
// so every logical size up to 128 has an exact image at both scales.
constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

}  // namespace

QIcon MorvaneIcon() {
    return DrawnIcon(QStringLiteral("morvane.svg"));
}

QIcon DrawnIcon(const QString& name) {
    // The icons are drawn here rather than left to Qt's SVG icon plugin, which is a
    // separate package that may be missing: linking the renderer makes it a
    // hard dependency of the program.
    InitIconResources();
    QSvgRenderer renderer(QStringLiteral(":/icons/") + name);
    QIcon icon;
    if (!renderer.isValid()) {
        return icon;
    }
    for (const int size : kIconSizes) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace morvane

#include "ui/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "ui/QtText.h"

namespace morvane {

namespace {

// The 380 x 100 banner across the top, drawn rather than shipped as a bitmap.
QPixmap Banner() {
    QPixmap banner(380, 100);
    QPainter painter(&banner);
    QLinearGradient gradient(0, 0, 380, 100);
    gradient.setColorAt(0.0, QColor(36, 84, 160));
    gradient.setColorAt(1.0, QColor(110, 170, 230));
    painter.fillRect(banner.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(255, 255, 255));
    QFont font = painter.font();
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(24, 0, 340, 100), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Morvane"));
    return banner;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(Qs(msg::kAboutCaption));
    auto* banner = new QLabel(this);
    banner->setPixmap(Banner());
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    if (parent != nullptr)
        icon->setPixmap(parent->window()->windowIcon().pixmap(32, 32));
    auto* version = new QLabel(Qs(msg::kAboutVersion), this);
    version->setObjectName(QStringLiteral("version"));
    auto* line = new QLabel(Qs(msg::kAboutLine), this);
    line->setObjectName(QStringLiteral("line"));
    auto* ok = new QPushButton(Qs(msg::kAboutOk), this);
    ok->setDefault(true);
    ok->setMinimumHeight(48);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(line);
    auto* middle = new QHBoxLayout;
    middle->addWidget(icon, 0, Qt::AlignTop);
    middle->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner, 0, Qt::AlignHCenter);
    layout->addLayout(middle);
    layout->addWidget(ok);
}

}  // namespace morvane

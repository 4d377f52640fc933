#include "ui/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/Messages.h"
#include "ui/AppIcon.h"
#include "ui/QtText.h"

// A resource compiled into a static library is only linked when something names it.
static void InitAboutResources() {
    Q_INIT_RESOURCE(morvane);
}

namespace morvane {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    InitAboutResources();
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(Qs(msg::kAboutCaption));
    auto* banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("banner"));
    banner->setPixmap(QPixmap(QStringLiteral(":/morvane/about-banner.png")));
    auto* icon = new QLabel(this);
    icon->setPixmap(MorvaneIcon().pixmap(32, 32));
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

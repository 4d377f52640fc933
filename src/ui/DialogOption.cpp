#include "ui/DialogOption.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/Messages.h"
#include "ops/registration/ChosenPath.h"
#include "ui/QtText.h"

namespace morvane {

namespace {

// A frame with a check box sitting on its top edge, as its heading. The check box enables
// or disables nothing: it is a setting of its own.
QWidget* HeadedGroup(QCheckBox* heading, QLayout* content, QWidget* parent) {
    auto* holder = new QWidget(parent);
    auto* grid = new QGridLayout(holder);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QGroupBox(holder);
    const int headingHeight = heading->sizeHint().height();
    content->setContentsMargins(12, headingHeight + 2, 12, 8);
    frame->setLayout(content);
    grid->addWidget(frame, 0, 0);
    heading->setParent(holder);
    heading->setAutoFillBackground(true);
    grid->addWidget(heading, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    heading->raise();
    return holder;
}

// The setting's text with its access key after it, as the menus show theirs.
QString WithKey(const char* text, char key) {
    return QStringLiteral("%1 (&%2)").arg(Qs(text), QChar::fromLatin1(key));
}

QCheckBox* MakeCheck(const QString& text, std::uint8_t value, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setChecked(value != 0);
    return box;
}

}  // namespace

DialogOption::DialogOption(Options& options, FileSystem& fs, ActivityLog& log, QWidget* parent)
    : QDialog(parent), options_(options), fs_(fs), log_(log) {
    setObjectName(QStringLiteral("DialogOption"));
    setWindowTitle(Qs(msg::kOptionsCaption));
    browseForEditor = [this] { return BrowseWithFileDialog(); };

    registerFolders_ =
        MakeCheck(WithKey(msg::kOptRegisterFolders, 'F'), options.registerFolders, this);
    registerBelow_ =
        MakeCheck(WithKey(msg::kOptRegisterBelow, 'S'), options.registerEverythingBelow, this);
    openOnSelection_ =
        MakeCheck(WithKey(msg::kOptOpenOnSelection, 'O'), options.openOnSelection, this);
    folderNavigation_ =
        MakeCheck(WithKey(msg::kOptFolderNavigation, 'N'), options.folderNavigation, this);
    useEditor_ = MakeCheck(WithKey(msg::kOptUseEditor, 'E'), options.useExternalEditor, this);
    addToOpenWindow_ =
        MakeCheck(WithKey(msg::kOptAddToOpenWindow, 'W'), options.addToOpenWindow, this);
    editorPath_ = new QLineEdit(this);
    editorPath_->setMaxLength(31999);
    pathBytes_ = options.editorPath;
    editorPath_->setText(Qs(pathBytes_));
    // The field has no label of its own: the group's check box heads it.
    editorPath_->setAccessibleName(Qs(msg::kOptEditorCommand));
    editorPath_->setToolTip(Qs(msg::kOptEditorCommand));
    terminalEditor_ = MakeCheck(Qs(msg::kOptTerminalEditor), options.useTerminalEditor, this);
    terminalEditor_->setToolTip(Qs(msg::kOptTerminalEditorTip));
    browse_ = new QPushButton(WithKey(msg::kOptBrowse, 'B'), this);
    browse_->setAutoDefault(false);
    connect(browse_, &QPushButton::clicked, this, [this] {
        const QString shown = browseForEditor();
        if (shown.isEmpty())
            return;
        auto bytes = ResolveChosenPath(fs_, log_, PathBytes(shown), LastComponent::MustExist);
        if (!bytes)
            return;
        pathBytes_ = std::move(*bytes);
        editorPath_->setText(Qs(pathBytes_));
    });

    auto* inner = new QVBoxLayout;
    inner->addWidget(folderNavigation_);
    auto* outer = new QVBoxLayout;
    outer->addWidget(registerBelow_);
    outer->addWidget(HeadedGroup(openOnSelection_, inner, this));
    auto* editorRow = new QGridLayout;
    editorRow->addWidget(editorPath_, 0, 0);
    editorRow->addWidget(browse_, 0, 1);
    editorRow->addWidget(terminalEditor_, 1, 0, 1, 2);

    // キャンセル then OK, whatever order the desktop's button boxes use.
    auto* cancel = new QPushButton(Qs(msg::kOptCancel), this);
    auto* ok = new QPushButton(Qs(msg::kOptOk), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DialogOption::accept);
    connect(cancel, &QPushButton::clicked, this, &DialogOption::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HeadedGroup(registerFolders_, outer, this));
    layout->addSpacing(8);
    layout->addWidget(HeadedGroup(useEditor_, editorRow, this));
    layout->addSpacing(8);
    layout->addWidget(addToOpenWindow_);
    layout->addStretch(1);
    layout->addWidget(line);
    layout->addLayout(buttons);
    resize(546, sizeHint().height());
}

QString DialogOption::BrowseWithFileDialog() {
    QFileDialog dialog(this, QString(), QString(), Qs(msg::kEditorFilter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontResolveSymlinks);
    // Any executable file will do as the editor.
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::Hidden | QDir::System |
                     QDir::NoDotAndDotDot);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void DialogOption::accept() {
    const auto flag = [](const QCheckBox* box) -> std::uint8_t { return box->isChecked() ? 1 : 0; };
    options_.registerFolders = flag(registerFolders_);
    options_.registerEverythingBelow = flag(registerBelow_);
    options_.openOnSelection = flag(openOnSelection_);
    options_.folderNavigation = flag(folderNavigation_);
    options_.useExternalEditor = flag(useEditor_);
    options_.addToOpenWindow = flag(addToOpenWindow_);
    const QString path = editorPath_->text();
    options_.editorPath = path == Qs(pathBytes_) ? pathBytes_ : PathBytes(path);
    options_.useTerminalEditor = flag(terminalEditor_);
    QDialog::accept();
}

}  // namespace morvane

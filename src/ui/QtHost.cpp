#include "ui/QtHost.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>

#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "host/Messages.h"
#include "ui/AppIcon.h"
#include "ui/CAboutDlg.h"
#include "ui/CEditName.h"
#include "ui/CListCtrlFile.h"
#include "ui/CMainFrame.h"
#include "ui/DialogOption.h"
#include "ui/DialogProcess.h"
#include "ui/FileListModel.h"
#include "ui/FontDialogLists.h"
#include "ui/HistoryDialog.h"
#include "ui/LinedMessageBox.h"
#include "ui/ListFont.h"
#include "ui/MainStatusBar.h"
#include "ui/MimeIconCache.h"
#include "ui/NameToolsDialog.h"
#include "ui/QtText.h"
#include "ui/ScreenFit.h"
#include "ui/SessionSocket.h"
#include "ui/TraceView.h"

namespace morvane {

namespace {

// Between two passes over Qt's events inside a long operation: one frame.
constexpr qint64 kEventIntervalMs = 16;

void ShowHiddenAndKeepLinks(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontResolveSymlinks);
    dialog.setFilter(dialog.filter() | QDir::Hidden | QDir::System);
}

// The usual sizes of the windows; each is made smaller where the screen is.
constexpr QSize kMainWindowSize(700, 640);

}  // namespace

QtHost::QtHost() : icons_(std::make_unique<MimeIconCache>()) {
    wakeUp_.setSingleShot(true);
    // Outside a desktop session Qt knows no icon theme; the common one fills the gaps.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == "hicolor")
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

QtHost::~QtHost() = default;

QWidget* QtHost::Owner() const {
    return frame_.get();
}

std::optional<std::string> QtHost::ChosenPathBytes(const QString& shown, LastComponent last) {
    if (app_ == nullptr)
        return PathBytes(shown);
    return ResolveChosenPath(app_->Files(), app_->Log(), PathBytes(shown), last);
}

void QtHost::StartInLastFolder(QFileDialog& dialog) const {
    // Not the folder the program happened to be started in: home, then where the user was.
    dialog.setDirectory(lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_);
    FitToScreen(&dialog);
}

int QtHost::ExecFileDialog(QFileDialog& dialog) {
    StartInLastFolder(dialog);
    const int result = dialog.exec();
    if (result == QDialog::Accepted)
        lastFolder_ = dialog.directory().absolutePath();
    return result;
}

std::string QtHost::RunFileDialog(QFileDialog& dialog, LastComponent last) {
    if (ExecFileDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return ChosenPathBytes(dialog.selectedFiles().constFirst(), last).value_or(std::string());
}

void QtHost::LogAppended(const std::string& text) {
    if (frame_)
        frame_->Log()->Append(text);
}

void QtHost::LogCleared() {
    if (frame_)
        frame_->Log()->Clear();
}

void QtHost::ShowWarning(const std::string& text, const std::string& caption) {
    LinedMessageBox box(QMessageBox::Warning, Qs(caption), Qs(text), QMessageBox::Ok, Owner());
    box.exec();
}

bool QtHost::AskYesNo(const std::string& text, const std::string& caption) {
    LinedMessageBox box(QMessageBox::Warning, Qs(caption), Qs(text),
                        QMessageBox::Yes | QMessageBox::No, Owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

int QtHost::AskChoice(const std::string& text, const std::string& caption,
                      const std::vector<std::string>& buttons) {
    LinedMessageBox box(QMessageBox::Warning, Qs(caption), Qs(text), QMessageBox::NoButton,
                        Owner());
    std::vector<QAbstractButton*> made;
    for (const std::string& label : buttons)
        made.push_back(box.addButton(Qs(label), QMessageBox::ActionRole));
    if (!made.empty()) {
        box.setDefaultButton(static_cast<QPushButton*>(made.front()));
        // Escape answers the last one, the choice that decides nothing.
        box.setEscapeButton(made.back());
    }
    box.exec();
    const auto chosen = std::find(made.begin(), made.end(), box.clickedButton());
    return chosen == made.end() ? -1 : static_cast<int>(chosen - made.begin());
}

std::vector<std::string> QtHost::ChooseFilesToRegister() {
    QFileDialog dialog(Owner(), QString(), QString(), Qs(msg::kRegisterFilesFilter));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    ShowHiddenAndKeepLinks(dialog);
    std::vector<std::string> paths;
    if (ExecFileDialog(dialog) != QDialog::Accepted)
        return paths;
    for (const QString& file : dialog.selectedFiles()) {
        // A file that cannot be told is named in the log and left out.
        if (auto bytes = ChosenPathBytes(file, LastComponent::MustExist))
            paths.push_back(std::move(*bytes));
    }
    return paths;
}

std::string QtHost::ChooseFolderToRegister(const std::string& title) {
    // No owner window.
    QFileDialog dialog(nullptr, Qs(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    ShowHiddenAndKeepLinks(dialog);
    return RunFileDialog(dialog, LastComponent::MustExist);
}

std::string QtHost::ChooseListFileToLoad() {
    QFileDialog dialog(Owner(), QString(), QString(), Qs(msg::kListFileFilter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    ShowHiddenAndKeepLinks(dialog);
    return RunFileDialog(dialog, LastComponent::MustExist);
}

std::string QtHost::ChooseListFileToSave() {
    QFileDialog dialog(Owner(), QString(), QString(), Qs(msg::kListFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    ShowHiddenAndKeepLinks(dialog);
    return RunFileDialog(dialog, LastComponent::MayBeNew);
}

void QtHost::SetApp(CMorvaneApp* app) {
    app_ = app;
    if (app_ != nullptr)
        app_->Tools().SetView(this);
    app_->History().SetView(this);
}

bool QtHost::ChooseFont(FontDescription& font) {
    // The stored size is shown as a point size, and the chosen point size is stored.
    QFont initial = FontFromDescription(font);
    if (font.size != 0)
        initial.setPointSize(font.size < 0 ? -font.size : font.size);
    QFontDialog dialog(Owner());
    ListEachEntryOnce(dialog);
    dialog.setCurrentFont(initial);
    FitToScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    UpdateDescriptionFromChosenFont(dialog.selectedFont(), &font);
    return true;
}

std::optional<Options> QtHost::RunOptionsDialog(const Options& current) {
    // The dialog reads the folders of a chosen editor and reports in the application's log.
    if (app_ == nullptr)
        return std::nullopt;
    Options chosen = current;
    DialogOption dialog(chosen, app_->Files(), app_->Log(), Owner());
    FitToScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return chosen;
}

bool QtHost::RunNameTools(NameTools& tools) {
    NameToolsDialog dialog(tools, Owner());
    FitToScreen(&dialog);
    return dialog.exec() == QDialog::Accepted;
}

void QtHost::ShowHistory(RunHistory& history) {
    HistoryDialog dialog(history, Owner());
    dialog.exec();
}

void QtHost::ShowAbout() {
    CAboutDlg dialog(Owner());
    FitToScreen(&dialog, dialog.sizeHint());
    dialog.exec();
}

void QtHost::OpenProgressDialog() {
    if (progress_ || app_ == nullptr)
        return;
    progress_ = std::make_unique<DialogProcess>([app = app_] { app->OnCloseProgressDialog(); });
    progress_->ShowOver(Owner());
}

void QtHost::CloseProgressDialog() {
    progress_.reset();
}

void QtHost::SetOverallText(const std::string& text) {
    if (progress_)
        progress_->SetOverallText(text);
}

void QtHost::SetOverallProgress(float fraction) {
    if (!progress_)
        return;
    progress_->SetOverallProgress(fraction);
    SetStatusProgress(fraction);
}

void QtHost::SetDetailText(const std::string& text) {
    if (progress_)
        progress_->SetDetailText(text);
}

void QtHost::SetDetailProgress(float fraction) {
    if (progress_)
        progress_->SetDetailProgress(fraction);
}

void QtHost::SetStatusProgress(float fraction) {
    if (frame_)
        frame_->Status()->SetProgress(fraction);
}

void QtHost::ShowRegisteredCount(int count) {
    if (frame_)
        frame_->Status()->SetCount(count);
}

void QtHost::ShowRowLock(bool locked) {
    if (!frame_)
        return;
    frame_->Status()->SetRowLockText(locked ? msg::kRowLockPane : "");
    SetEditorButtonChecked(locked);
    frame_->List()->Model()->RowLockChanged();
}

bool QtHost::EditorButtonChecked() {
    QAction* button = frame_ ? frame_->ToolAction(Command::EditorButton) : nullptr;
    return button != nullptr && button->isChecked();
}

void QtHost::SetEditorButtonChecked(bool checked) {
    if (QAction* button = frame_ ? frame_->ToolAction(Command::EditorButton) : nullptr)
        button->setChecked(checked);
}

void QtHost::SetMainWindowEnabled(bool enabled) {
    if (!frame_ || frame_->isEnabled() == enabled)
        return;
    // A disabled widget loses the focus; the user's keys should find it where they left it.
    if (!enabled)
        focusBeforeDisable_ = frame_->focusWidget();
    frame_->setEnabled(enabled);
    if (enabled && focusBeforeDisable_ && focusBeforeDisable_->isVisible())
        focusBeforeDisable_->setFocus(Qt::OtherFocusReason);
}

void QtHost::RedrawList() {
    if (frame_)
        frame_->List()->viewport()->update();
}

void QtHost::EnsureRowVisible(int row) {
    if (frame_)
        frame_->List()->EnsureRowVisible(row);
}

void QtHost::ApplyFont(const FontDescription& font) {
    if (frame_)
        frame_->ApplyFont(FontFromDescription(font));
}

void QtHost::CommitEdit() {
    if (frame_)
        frame_->List()->Editor()->CommitEdit();
}

void QtHost::BeginEditSelected() {
    if (frame_)
        frame_->List()->Editor()->BeginEditSelected();
}

void QtHost::ProcessPendingEvents(bool wait) {
    QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
    if (wait) {
        // Back in the main loop: whatever ran has ended, so its rows show now.
        if (frame_)
            frame_->List()->Model()->FlushAppends();
        flags |= QEventLoop::WaitForMoreEvents;
    }
    QCoreApplication::processEvents(flags);
    sinceEvents_.restart();
}

void QtHost::HandlePendingEvents() {
    // Handling Qt's events after every item would repaint the list after every row; once a
    // frame keeps the window alive at a fraction of the cost.
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs)
        return;
    ProcessPendingEvents(false);
}

void QtHost::WaitForEvents(int timeoutMs) {
    // The timer bounds the wait when nothing else happens.
    wakeUp_.start(timeoutMs);
    ProcessPendingEvents(true);
    wakeUp_.stop();
    // Only the main loop is a safe place for deferred deletions.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool QtHost::CreateMainWindow() {
    if (app_ == nullptr)
        return false;
    frame_ = std::make_unique<CMainFrame>(*app_, icons_.get());
    frame_->setWindowIcon(MorvaneIcon());
    FitToScreen(frame_.get(), kMainWindowSize);
    ApplyFont(FontOf(app_->Settings()));
    frame_->show();
    frame_->setFocus(Qt::OtherFocusReason);
    ShowRegisteredCount(app_->List().RowCount());
    return true;
}

void QtHost::DestroyMainWindow() {
    // A later start opens its own window rather than hand paths to one that is closing.
    session_.reset();
    progress_.reset();
    frame_.reset();
}

bool QtHost::HandToRunningWindow(const std::vector<std::string>& paths) {
    return SessionSocket(SessionSocket::PathForThisSession()).HandOver(paths);
}

void QtHost::AcceptHandedPaths() {
    session_ = std::make_unique<SessionSocket>(SessionSocket::PathForThisSession());
    if (!session_->Listen()) {
        session_.reset();
        return;
    }
    // The user chose files in a file manager and looks for the window that takes them.
    QObject::connect(session_.get(), &SessionSocket::Received, [this] {
        if (frame_ == nullptr)
            return;
        if (frame_->isMinimized())
            frame_->showNormal();
        frame_->raise();
        frame_->activateWindow();
    });
}

std::vector<std::vector<std::string>> QtHost::TakeHandedPaths() {
    return session_ ? session_->TakeReceived() : std::vector<std::vector<std::string>>{};
}

void QtHost::DescribeFile(const std::string& path, bool isDirectory, std::string* typeName,
                          int* iconIndex) {
    icons_->Describe(path, isDirectory, typeName, iconIndex);
}

}  // namespace morvane

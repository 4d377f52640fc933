#pragma once
// The window system the core talks to: message boxes, dialogs, the main window, the
// progress window, and the handling of Qt's events for the program's own main loop.

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>

#include "host/Host.h"
#include "ops/nametools/NameToolsView.h"
#include "ops/recovery/RunHistory.h"
#include "ops/registration/ChosenPath.h"

class QFileDialog;

namespace morvane {

class CMorvaneApp;
class CMainFrame;
class DialogProcess;
class MimeIconCache;
class SessionSocket;

class QtHost : public Host, public NameToolsView, public HistoryView {
public:
    QtHost();
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    // The application the windows work for; set before its start-up. Its name tools open
    // their dialog here.
    void SetApp(CMorvaneApp* app);

    CMainFrame* MainFrame() const { return frame_.get(); }
    DialogProcess* ProgressDialog() const { return progress_.get(); }
    MimeIconCache& Icons() { return *icons_; }

    void LogAppended(const std::string& text) override;
    void LogCleared() override;

    void ShowWarning(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    int AskChoice(const std::string& text, const std::string& caption,
                  const std::vector<std::string>& buttons) override;
    std::vector<std::string> ChooseFilesToRegister() override;
    std::string ChooseFolderToRegister(const std::string& title) override;
    std::string ChooseListFileToLoad() override;
    std::string ChooseListFileToSave() override;
    bool ChooseFont(FontDescription& font) override;
    std::optional<Options> RunOptionsDialog(const Options& current) override;
    bool RunNameTools(NameTools& tools) override;
    void ShowHistory(RunHistory& history) override;
    void ShowAbout() override;

    void OpenProgressDialog() override;
    void CloseProgressDialog() override;
    void SetOverallText(const std::string& text) override;
    void SetOverallProgress(float fraction) override;
    void SetDetailText(const std::string& text) override;
    void SetDetailProgress(float fraction) override;

    void SetStatusProgress(float fraction) override;
    void ShowRegisteredCount(int count) override;
    void ShowRowLock(bool locked) override;
    bool EditorButtonChecked() override;
    void SetEditorButtonChecked(bool checked) override;
    void SetMainWindowEnabled(bool enabled) override;
    void RedrawList() override;
    void EnsureRowVisible(int row) override;
    void ApplyFont(const FontDescription& font) override;

    void CommitEdit() override;
    void BeginEditSelected() override;

    void HandlePendingEvents() override;
    void WaitForEvents(int timeoutMs) override;

    bool CreateMainWindow() override;
    void DestroyMainWindow() override;

    void DescribeFile(const std::string& path, bool isDirectory, std::string* typeName,
                      int* iconIndex) override;

    bool HandToRunningWindow(const std::vector<std::string>& paths) override;
    void AcceptHandedPaths() override;
    std::vector<std::vector<std::string>> TakeHandedPaths() override;
    // The socket later starts hand their paths to; none before AcceptHandedPaths.
    SessionSocket* HandOverSocket() const { return session_.get(); }

private:
    QWidget* Owner() const;
    // The bytes of the path a file dialog returned (see ResolveChosenPath); nothing, with a
    // line in the log, when they cannot be told.
    std::optional<std::string> ChosenPathBytes(const QString& shown, LastComponent last);
    // Opens file dialogs at home, then in the folder of the last one the user accepted.
    void StartInLastFolder(QFileDialog& dialog) const;
    int ExecFileDialog(QFileDialog& dialog);
    // Runs the dialog; the chosen path in bytes, or an empty text.
    std::string RunFileDialog(QFileDialog& dialog, LastComponent last);
    // Shows appended rows and handles what is pending.
    void ProcessPendingEvents(bool wait);

    CMorvaneApp* app_ = nullptr;
    std::unique_ptr<MimeIconCache> icons_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<DialogProcess> progress_;
    std::unique_ptr<SessionSocket> session_;
    QPointer<QWidget> focusBeforeDisable_;
    QString lastFolder_;
    QElapsedTimer sinceEvents_;
    QTimer wakeUp_;
};

}  // namespace morvane

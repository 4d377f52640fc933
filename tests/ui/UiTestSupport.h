#pragma once
// The real program with its real windows, offscreen, over a temporary folder. Only the
// modal questions and dialogs are scripted, so tests never wait for a user.

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "platform/FileSystem.h"
#include "support/ScriptedAnswers.h"
#include "support/TempDir.h"
#include "ui/CEditName.h"
#include "ui/CListCtrlFile.h"
#include "ui/CMainFrame.h"
#include "ui/FileListModel.h"
#include "ui/QtHost.h"

namespace morvane::test {

// The real Qt host with the modal questions and file choosers answered from the scripted
// answers; the other dialogs stay real, for their own tests.
class ScriptedQtHost : public QtHost, public ScriptedAnswers {
public:
    void ShowWarning(const std::string& text, const std::string& caption) override {
        AnswerWarning(text, caption);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        return AnswerYesNo(text, caption);
    }
    int AskChoice(const std::string& text, const std::string& caption,
                  const std::vector<std::string>&) override {
        return AnswerChoice(text, caption);
    }
    std::vector<std::string> ChooseFilesToRegister() override { return AnswerFilesToRegister(); }
    std::string ChooseFolderToRegister(const std::string& title) override {
        return AnswerFolderToRegister(title);
    }
    std::string ChooseListFileToLoad() override { return AnswerListFileToLoad(); }
    std::string ChooseListFileToSave() override { return AnswerListFileToSave(); }
};

// Why a test may not trigger `action` as a user would, or an empty text when it may.
inline QString TriggerProblem(const QAction* action) {
    if (action == nullptr)
        return QStringLiteral("missing");
    if (!action->isEnabled())
        return QStringLiteral("disabled");
    return {};
}

// Triggers `action` after checking that a user could. A missing or disabled one fails the
// running test, naming `what`, and triggers nothing: a test never passes by clicking what the
// user cannot click. Returns whether it triggered.
inline bool Trigger(QAction* action, const QString& what,
                    std::source_location where = std::source_location::current()) {
    const QString problem = TriggerProblem(action);
    if (!problem.isEmpty()) {
        const QString text = action ? QStringLiteral(" \"%1\"").arg(action->text()) : QString();
        QTest::qFail(qPrintable(what + text + QStringLiteral(" is ") + problem), where.file_name(),
                     static_cast<int>(where.line()));
        return false;
    }
    action->trigger();
    return true;
}

// Runs `act` on the modal window once it is up, while the code under test waits in exec().
inline void OnModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

// Declare as a member of the test object, created in init() and destroyed in cleanup().
struct UiApp {
    UiApp() {
        host.SetApp(&app);
        env.programDir = dir.MakeFolder("program");
        env.tempDir = dir.MakeFolder("tmp") + "/";
        env.settingsPath = dir / "program/config.ini";
        env.stateHome = dir.MakeFolder("state");
        if (app.StartUp({}, env) != CMorvaneApp::StartResult::Running)
            qFatal("start-up failed");
        started = true;
        AppInternals::Places(app).programPrefix = "/usr";
        AppInternals::Places(app).configPrefix = "/etc";
        app.Settings().registerFolders = 1;
        frame = host.MainFrame();
        list = frame->List();
        model = list->Model();
        editor = list->Editor();
        if (!QTest::qWaitForWindowExposed(frame))
            qFatal("main window not shown");
    }
    ~UiApp() {
        if (started)
            app.ShutDown();
    }
    UiApp(const UiApp&) = delete;
    UiApp& operator=(const UiApp&) = delete;

    // Creates dir/files/relative and registers it; returns its row or -1.
    int Add(const std::string& relative, const std::string& content = "") {
        const std::string path = dir.MakeFile("files/" + relative, content);
        const int before = app.List().RowCount();
        if (!AppInternals::Registrar(app).RegisterPath(path))
            return -1;
        model->FlushAppends();
        return before;
    }
    // Registers `count` files named f000.txt, f001.txt, ...
    void AddNumbered(int count) {
        char name[32];
        for (int i = 0; i < count; ++i) {
            std::snprintf(name, sizeof name, "f%03d.txt", i);
            Add(name);
        }
    }
    // The main window's menu item or toolbar button for a command; a missing one fails the
    // running test.
    QAction* MenuItem(Command command,
                      std::source_location where = std::source_location::current()) const {
        return Found(frame->MenuAction(command), "menu item", command, where);
    }
    QAction* ToolButton(Command command,
                        std::source_location where = std::source_location::current()) const {
        return Found(frame->ToolAction(command), "toolbar button", command, where);
    }
    // Chooses the command from the menu or the toolbar, failing the running test when the item
    // is missing or disabled.
    bool TriggerMenu(Command command,
                     std::source_location where = std::source_location::current()) const {
        return Trigger(frame->MenuAction(command), Describe("menu item", command), where);
    }
    bool TriggerTool(Command command,
                     std::source_location where = std::source_location::current()) const {
        return Trigger(frame->ToolAction(command), Describe("toolbar button", command), where);
    }

    QString Text(int row, int column) const {
        return model->data(model->index(row, column), Qt::DisplayRole).toString();
    }
    // The first cell's text of every row, top to bottom.
    QStringList Column(int column) const {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << Text(row, column);
        return texts;
    }
    void ClickHeader(int column) {
        QHeaderView* header = list->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    QPoint CellCenter(int row, int column) const {
        list->scrollTo(model->index(row, column));
        return list->visualRect(model->index(row, column)).center();
    }

    static QString Describe(const char* kind, Command command) {
        return QStringLiteral("%1 of command %2").arg(kind).arg(static_cast<int>(command));
    }
    static QAction* Found(QAction* action, const char* kind, Command command,
                          std::source_location where) {
        if (action == nullptr)
            QTest::qFail(qPrintable(Describe(kind, command) + QStringLiteral(" is missing")),
                         where.file_name(), static_cast<int>(where.line()));
        return action;
    }

    TempDir dir;
    StartupEnvironment env;
    ScriptedQtHost host;
    CMorvaneApp app{host, RealFileSystem()};
    bool started = false;
    CMainFrame* frame = nullptr;
    CListCtrlFile* list = nullptr;
    FileListModel* model = nullptr;
    CEditName* editor = nullptr;
};

}  // namespace morvane::test

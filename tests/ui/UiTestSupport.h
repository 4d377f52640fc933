#pragma once
// The real program with its real windows, offscreen, over a temporary folder. Only the
// modal questions and dialogs are scripted, so tests never wait for a user.

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/CMorvaneApp.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"
#include "ui/CEditName.h"
#include "ui/CListCtrlFile.h"
#include "ui/CMainFrame.h"
#include "ui/FileListModel.h"
#include "ui/QtHost.h"

namespace morvane::test {

class ScriptedQtHost : public QtHost {
public:
    struct Question {
        std::string text;
        std::string caption;
    };

    bool AskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back({text, caption});
        if (yesNoAnswers.empty())
            return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    void ShowWarning(const std::string& text, const std::string& caption) override {
        warnings.push_back({text, caption});
    }
    std::vector<std::string> ChooseFilesToRegister() override { return filesToRegister; }
    std::string ChooseFolderToRegister(const std::string& title) override {
        folderTitles.push_back(title);
        return folderToRegister;
    }
    std::string ChooseListFileToLoad() override { return {}; }
    std::string ChooseListFileToSave() override { return {}; }

    std::deque<bool> yesNoAnswers;  // empty: No
    std::vector<Question> questions;
    std::vector<Question> warnings;
    std::vector<std::string> filesToRegister;
    std::string folderToRegister;
    std::vector<std::string> folderTitles;
};

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
        app.Places().programPrefix = "/usr";
        app.Places().configPrefix = "/etc";
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
        if (!app.Registrar().RegisterPath(path))
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

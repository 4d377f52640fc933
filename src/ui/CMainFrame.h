#pragma once
// The main window: menu, toolbar, status bar, and the list above the log. Closing it only
// asks the main loop to end; the window stays until shut-down destroys it.

#include <QMainWindow>
#include <map>

#include "app/Command.h"

class QMenu;
class QToolBar;

namespace morvane {

class CMorvaneApp;
class CListCtrlFile;
class MainStatusBar;
class MimeIconCache;
class SplitterList;
class TraceView;

class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CMorvaneApp& app, const MimeIconCache* icons);

    CListCtrlFile* List() const { return list_; }
    TraceView* Log() const { return log_; }
    MainStatusBar* Status() const { return status_; }
    SplitterList* Splitter() const { return splitter_; }
    QToolBar* ToolBar() const { return toolBar_; }
    // The menu item or toolbar button of a command; nullptr when there is none.
    QAction* MenuAction(Command command) const;
    QAction* ToolAction(Command command) const;
    QMenu* RecentPresetsMenu() const { return recentPresets_; }

    // The list font on the header, the list, the name editor (4-pixel margins) and the log.
    void ApplyFont(const QFont& font);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateMenus();
    // The submenu of the presets used last, after the name tools' item.
    void AddRecentPresets(QMenu* menu);
    void CreateToolBar();
    void CreateKeys();
    // The status bar's count of rows in error follows the list; its button goes to the first.
    void WatchErrorRows();
    // The columns in the order the user left them, and any new order kept in the settings.
    void KeepColumnOrder();
    // An action that runs the command when triggered.
    QAction* CommandAction(Command command, const QString& text, const char* prompt);

    CMorvaneApp& app_;
    CListCtrlFile* list_;
    TraceView* log_;
    SplitterList* splitter_;
    MainStatusBar* status_;
    QToolBar* toolBar_ = nullptr;
    QMenu* recentPresets_ = nullptr;
    std::map<Command, QAction*> menuActions_;
    std::map<Command, QAction*> toolActions_;
    std::map<Command, QAction*> keyActions_;
};

}  // namespace morvane

#include "ui/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "app/CMorvaneApp.h"
#include "app/Commands.h"
#include "host/Messages.h"
#include "ui/CEditName.h"
#include "ui/CListCtrlFile.h"
#include "ui/CommandTable.h"
#include "ui/MainStatusBar.h"
#include "ui/QtText.h"
#include "ui/SplitterList.h"
#include "ui/TraceView.h"

namespace morvane {

CMainFrame::CMainFrame(CMorvaneApp& app, const MimeIconCache* icons) : app_(app) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(Qs(msg::kAppTitle));
    list_ = new CListCtrlFile(app, icons, nullptr);
    log_ = new TraceView(nullptr);
    log_->setPlainText(Qs(app.Log().Text()));
    splitter_ = new SplitterList(list_, log_, this);
    setCentralWidget(splitter_);
    status_ = new MainStatusBar(this);
    setStatusBar(status_);
    CreateMenus();
    CreateToolBar();
    // Keys reach the frame itself until the user clicks into the list or the log.
    setFocusPolicy(Qt::NoFocus);
}

void CMainFrame::CreateMenus() {
    for (const MenuSpec& desc : MenuTable()) {
        QMenu* menu = menuBar()->addMenu(Qs(desc.title));
        for (const MenuItemSpec& item : desc.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(Qs(item.label));
            if (const char* prompt = CommandPrompt(item.id))
                action->setStatusTip(Qs(prompt));
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { app_.OnCommand(id); });
            menuActions_[id] = action;
        }
    }
}

void CMainFrame::CreateToolBar() {
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle* style = QApplication::style();
    for (const ToolButtonSpec& desc : ToolBarTable()) {
        if (desc.id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        const QIcon fallback =
            style->standardIcon(static_cast<QStyle::StandardPixmap>(desc.standardIcon));
        QAction* action =
            toolBar_->addAction(QIcon::fromTheme(Qs(desc.themeIcon), fallback), Qs(desc.text));
        action->setCheckable(desc.checkable);
        if (const char* prompt = CommandPrompt(desc.id)) {
            action->setStatusTip(Qs(prompt));
            action->setToolTip(Qs(prompt));
        }
        const int id = desc.id;
        // A check button has already toggled when this runs; the handler reads its state.
        connect(action, &QAction::triggered, this, [this, id] { app_.OnCommand(id); });
        toolActions_[id] = action;
    }

    // The two bars can be hidden from the menu, which shows a check mark while they show.
    const auto bindVisibility = [this](int id, QWidget* bar) {
        QAction* action = menuActions_.at(id);
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::triggered, bar, &QWidget::setVisible);
    };
    bindVisibility(CmdToggleToolBar, toolBar_);
    bindVisibility(CmdToggleStatusBar, status_);
    // The toolbar can also be hidden from its context menu.
    QAction* toolBarItem = menuActions_.at(CmdToggleToolBar);
    connect(toolBar_, &QToolBar::visibilityChanged, toolBarItem,
            [this, toolBarItem] { toolBarItem->setChecked(toolBar_->isVisibleTo(this)); });
}

QAction* CMainFrame::MenuAction(int id) const {
    const auto it = menuActions_.find(id);
    return it == menuActions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::ToolAction(int id) const {
    const auto it = toolActions_.find(id);
    return it == toolActions_.end() ? nullptr : it->second;
}

void CMainFrame::ApplyFont(const QFont& font) {
    list_->ApplyListFont(font);
    CEditName* editor = list_->Editor();
    editor->setFont(font);
    editor->setTextMargins(4, 0, 4, 0);
    editor->PositionEditor();
    log_->setFont(font);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    app_.OnCloseMainWindow();
}

void CMainFrame::keyPressEvent(QKeyEvent* event) {
    // Only keys typed while the frame itself has the focus; keys the list or the log left
    // unhandled pass by here too.
    if (QApplication::focusWidget() == this || QApplication::focusWidget() == nullptr) {
        const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
        if (event->key() == Qt::Key_Delete) {
            if (app_.RoundTrip().ConfirmUnlockRows())
                app_.Removal().RemoveSelectedRows();
        } else if (ctrl && event->key() == Qt::Key_A) {
            app_.List().SelectAll();
        } else if (ctrl && event->key() == Qt::Key_S) {
            app_.ListFiles().OnOverwriteSaveListFile();
        }
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace morvane

#include "ui/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "app/CMorvaneApp.h"
#include "host/Messages.h"
#include "ui/ActionTables.h"
#include "ui/AppIcon.h"
#include "ui/CEditName.h"
#include "ui/CListCtrlFile.h"
#include "ui/FileListModel.h"
#include "ui/MainStatusBar.h"
#include "ui/QtText.h"
#include "ui/SplitterList.h"
#include "ui/TraceView.h"

namespace morvane {

CMainFrame::CMainFrame(CMorvaneApp& app, const MimeIconCache* icons) : app_(app) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(Qs(msg::kAppTitle));
    list_ =
        new CListCtrlFile({app.List(), app.Rules(), app.Lock(), app.Order(), app}, icons, nullptr);
    log_ = new TraceView(nullptr);
    log_->setPlainText(Qs(app.Log().Text()));
    splitter_ = new SplitterList(list_, log_, this);
    setCentralWidget(splitter_);
    status_ = new MainStatusBar(this);
    setStatusBar(status_);
    CreateMenus();
    CreateToolBar();
    CreateKeys();
    WatchErrorRows();
    KeepColumnOrder();
    // Keys reach the frame itself until the user clicks into the list or the log.
    setFocusPolicy(Qt::NoFocus);
}

QAction* CMainFrame::CommandAction(Command command, const QString& text, const char* prompt) {
    auto* action = new QAction(text, this);
    if (prompt != nullptr)
        action->setStatusTip(Qs(prompt));
    // A check button has already toggled when this runs; the handler reads its state.
    connect(action, &QAction::triggered, this, [this, command] { app_.Execute(command); });
    return action;
}

void CMainFrame::CreateMenus() {
    for (const MenuEntry& desc : MenuTable()) {
        QMenu* menu = menuBar()->addMenu(Qs(desc.title));
        for (const MenuItemEntry& item : desc.items) {
            if (!item.command) {
                menu->addSeparator();
                continue;
            }
            QAction* action = CommandAction(*item.command, Qs(item.label), item.prompt);
            if (const QKeySequence key = ShownKeyOf(*item.command); !key.isEmpty()) {
                // Shown beside the item. The key itself belongs to the list and the frame
                // (CreateKeys); here it only works while the menu is open, so the two never
                // compete for it.
                action->setShortcut(key);
                action->setShortcutContext(Qt::WidgetShortcut);
            }
            menu->addAction(action);
            menuActions_[*item.command] = action;
            if (*item.command == Command::NameTools)
                AddRecentPresets(menu);
        }
    }
}

void CMainFrame::AddRecentPresets(QMenu* menu) {
    recentPresets_ = menu->addMenu(QStringLiteral("最近使ったプリセット (&P)"));
    // Read when opened, so a preset saved or a file mended by hand shows at once.
    connect(recentPresets_, &QMenu::aboutToShow, this, [this] {
        recentPresets_->clear();
        NamePresets& presets = app_.Tools().Presets();
        presets.Load();
        const std::vector<std::string> recent = presets.Recent();
        for (std::size_t i = 0; i < recent.size(); ++i) {
            const std::string name = recent[i];
            recentPresets_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(Qs(name)), this,
                                      [this, name] {
                                          CommandArgument preset;
                                          preset.text = name;
                                          app_.Execute(Command::NameToolsPreset, preset);
                                      });
        }
        if (recentPresets_->isEmpty())
            recentPresets_->addAction(QStringLiteral("(なし)"))->setEnabled(false);
    });
}

void CMainFrame::CreateToolBar() {
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolButtonEntry& desc : ToolBarTable()) {
        if (!desc.command) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = CommandAction(*desc.command, Qs(desc.text), desc.prompt);
        action->setIcon(DrawnIcon(Qs(desc.icon)));
        action->setCheckable(desc.checkable);
        if (desc.prompt != nullptr)
            action->setToolTip(Qs(desc.prompt));
        toolBar_->addAction(action);
        toolActions_[*desc.command] = action;
    }

    // The two bars can be hidden from the menu, which shows a check mark while they show.
    const auto bindVisibility = [this](Command command, QWidget* bar) {
        QAction* action = menuActions_.at(command);
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::triggered, bar, &QWidget::setVisible);
    };
    bindVisibility(Command::ToggleToolBar, toolBar_);
    bindVisibility(Command::ToggleStatusBar, status_);
    // The toolbar can also be hidden from its context menu.
    QAction* toolBarItem = menuActions_.at(Command::ToggleToolBar);
    connect(toolBar_, &QToolBar::visibilityChanged, toolBarItem,
            [this, toolBarItem] { toolBarItem->setChecked(toolBar_->isVisibleTo(this)); });
}

void CMainFrame::CreateKeys() {
    for (const KeyEntry& key : KeyTable()) {
        QAction*& action = keyActions_[key.command];
        if (action == nullptr) {
            action = CommandAction(key.command, QString(), nullptr);
            // Only while the list (or the frame) itself has the focus: the name editor inside
            // the list and the log keep their own keys.
            action->setShortcutContext(Qt::WidgetShortcut);
            list_->addAction(action);
        }
        action->setShortcuts(action->shortcuts() + KeySequencesOf(key));
        if (key.inFrame && !actions().contains(action))
            addAction(action);
    }
}

void CMainFrame::WatchErrorRows() {
    status_->SetErrorCount(app_.List().ErrorRowCount());
    connect(list_->Model(), &FileListModel::errorRowsChanged, status_,
            &MainStatusBar::SetErrorCount);
    connect(status_->ErrorButton(), &QToolButton::clicked, this, [this] {
        app_.Execute(Command::FirstError);
        list_->setFocus(Qt::OtherFocusReason);
    });
}

void CMainFrame::KeepColumnOrder() {
    list_->SetColumnOrder(app_.Settings().columnOrder);
    // Kept with the other settings, so エラー stays where the user put it.
    connect(list_->horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this] { app_.Settings().columnOrder = list_->ColumnOrder(); });
}

QAction* CMainFrame::MenuAction(Command command) const {
    const auto it = menuActions_.find(command);
    return it == menuActions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::ToolAction(Command command) const {
    const auto it = toolActions_.find(command);
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
    // With no focus at all the frame's key actions cannot match; the key lands here instead.
    // Keys the list or the log left unhandled pass by here too, and stay theirs.
    if (QApplication::focusWidget() == nullptr) {
        if (QAction* action = ActionForKey(*this, *event)) {
            action->trigger();
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace morvane

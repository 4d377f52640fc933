#pragma once
// "環境設定": six of the settings as check boxes and the editor program's path. OK copies
// the controls into the options value it was given; Cancel, Escape and the close box change
// nothing.

#include <QDialog>
#include <functional>
#include <string>

#include "host/Options.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace morvane {

class ActivityLog;
class FileSystem;

class DialogOption final : public QDialog {
    Q_OBJECT
public:
    // A chosen editor that cannot be told apart (see ResolveChosenPath) is reported in log.
    DialogOption(Options& options, FileSystem& fs, ActivityLog& log, QWidget* parent);

    // The file dialog of "参照"; returns the chosen path as the dialog shows it, or an empty
    // text. Tests replace it.
    std::function<QString()> browseForEditor;

    QCheckBox* RegisterFoldersBox() const { return registerFolders_; }
    QCheckBox* RegisterBelowBox() const { return registerBelow_; }
    QCheckBox* OpenOnSelectionBox() const { return openOnSelection_; }
    QCheckBox* FolderNavigationBox() const { return folderNavigation_; }
    QCheckBox* UseEditorBox() const { return useEditor_; }
    QCheckBox* AddToOpenWindowBox() const { return addToOpenWindow_; }
    QLineEdit* EditorPathField() const { return editorPath_; }
    QCheckBox* TerminalEditorBox() const { return terminalEditor_; }
    QPushButton* BrowseButton() const { return browse_; }

public slots:
    void accept() override;

private:
    QString BrowseWithFileDialog();

    Options& options_;
    FileSystem& fs_;
    ActivityLog& log_;
    QCheckBox* registerFolders_;
    QCheckBox* registerBelow_;
    QCheckBox* openOnSelection_;
    QCheckBox* folderNavigation_;
    QCheckBox* useEditor_;
    QCheckBox* addToOpenWindow_;
    QLineEdit* editorPath_;
    QCheckBox* terminalEditor_;
    QPushButton* browse_;
    // The bytes behind the field's text: the stored path, then the file chosen with "参照".
    // OK stores them while the field shows them unchanged.
    std::string pathBytes_;
};

}  // namespace morvane

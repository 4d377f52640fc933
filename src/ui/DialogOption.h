#pragma once
// "環境設定": five of the settings as check boxes and the editor program's path. OK copies
// the controls into the settings record (the file is written at the end of the run);
// Cancel, Escape and the close box change nothing.

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace morvane {

struct AppSettings;

class DialogOption final : public QDialog {
    Q_OBJECT
public:
    DialogOption(AppSettings& settings, QWidget* parent);

    // The file dialog of "参照"; returns the chosen path or an empty text. Tests replace it.
    std::function<QString()> browseForEditor;

    QCheckBox* RegisterFoldersBox() const { return registerFolders_; }
    QCheckBox* RegisterBelowBox() const { return registerBelow_; }
    QCheckBox* OpenOnSelectionBox() const { return openOnSelection_; }
    QCheckBox* FolderNavigationBox() const { return folderNavigation_; }
    QCheckBox* UseEditorBox() const { return useEditor_; }
    QLineEdit* EditorPathField() const { return editorPath_; }
    QPushButton* BrowseButton() const { return browse_; }

public slots:
    void accept() override;

private:
    QString BrowseWithFileDialog();

    AppSettings& settings_;
    QCheckBox* registerFolders_;
    QCheckBox* registerBelow_;
    QCheckBox* openOnSelection_;
    QCheckBox* folderNavigation_;
    QCheckBox* useEditor_;
    QLineEdit* editorPath_;
    QPushButton* browse_;
    std::string originalPath_;  // kept byte for byte when the field is left as it was
};

}  // namespace morvane

#pragma once
// "名前の一括変更": the ordered steps on the left (checked = on), the form of the chosen step
// on the right, the presets above and the preview below. Every edit recompiles the steps and
// refreshes the preview; OK (the default button, so Enter in a field) applies them.

#include <QDialog>
#include <vector>

#include "names/NameStep.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace morvane {

class NameTools;
class NameToolsPreview;
class StepForm;

class NameToolsDialog final : public QDialog {
    Q_OBJECT
public:
    NameToolsDialog(NameTools& tools, QWidget* parent);

    QListWidget* StepList() const { return stepList_; }
    StepForm* FormAt(int step) const;
    NameToolsPreview* Preview() const { return preview_; }
    QLabel* Message() const { return message_; }
    QComboBox* PresetBox() const { return presetBox_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* SavePresetButton() const { return savePreset_; }
    QCheckBox* FoldersBox() const { return folders_; }

    // The buttons' work, for the buttons and for tests.
    void AddStep(std::size_t kind);
    void RemoveStep();
    void MoveStep(int by);
    void ChoosePreset(int index);
    // Saves the steps under the name; false (with the reason shown) when it could not.
    bool SavePreset(const QString& name);

public slots:
    void accept() override;

private:
    void LoadSteps(const std::vector<NameStep>& steps);
    void InsertStep(int at, const NameStep& step);
    void Recompute();
    void FillPresets(const QString& current);
    void ShowMessage(const QString& text, bool error);
    void ChainFocus();
    // How many rows get a name, and how many folders were left out.
    QString TargetsText() const;

    NameTools& tools_;
    NameToolsPreview* preview_;
    QListWidget* stepList_;
    QStackedWidget* forms_;
    QTableView* previewView_;
    QLabel* message_;
    QComboBox* presetBox_;
    QPushButton* savePreset_;
    QPushButton* removePreset_;
    QPushButton* ok_;
    QCheckBox* folders_;
    std::vector<QPushButton*> stepButtons_;
    bool loading_ = false;
};

}  // namespace morvane

#include "ui/NameToolsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "ops/nametools/NameTools.h"
#include "ui/NameToolsPreview.h"
#include "ui/QtText.h"
#include "ui/StepForm.h"

namespace morvane {

NameToolsDialog::NameToolsDialog(NameTools& tools, QWidget* parent)
    : QDialog(parent), tools_(tools) {
    setObjectName(QStringLiteral("NameToolsDialog"));
    setWindowTitle(QStringLiteral("名前の一括変更"));
    resize(760, 620);

    presetBox_ = new QComboBox;
    presetBox_->setMinimumContentsLength(20);
    savePreset_ = new QPushButton(QStringLiteral("保存 (&S)..."));
    removePreset_ = new QPushButton(QStringLiteral("削除 (&R)"));
    for (QPushButton* button : {savePreset_, removePreset_})
        button->setAutoDefault(false);
    auto* presetRow = new QHBoxLayout;
    auto* presetLabel = new QLabel(QStringLiteral("プリセット (&P) :"));
    presetLabel->setBuddy(presetBox_);
    presetRow->addWidget(presetLabel);
    presetRow->addWidget(presetBox_, 1);
    presetRow->addWidget(savePreset_);
    presetRow->addWidget(removePreset_);

    stepList_ = new QListWidget;
    stepList_->setMaximumWidth(200);
    stepList_->setAccessibleName(QStringLiteral("変更の手順"));
    auto* add = new QPushButton(QStringLiteral("追加 (&A)"));
    auto* addMenu = new QMenu(add);
    for (std::size_t kind = 0; kind < std::variant_size_v<NameStep>; ++kind)
        addMenu->addAction(StepForm::KindMenuText(kind), this, [this, kind] { AddStep(kind); });
    add->setMenu(addMenu);
    auto* remove = new QPushButton(QStringLiteral("削除 (&D)"));
    auto* up = new QPushButton(QStringLiteral("上へ (&U)"));
    auto* down = new QPushButton(QStringLiteral("下へ (&W)"));
    stepButtons_ = {add, remove, up, down};
    auto* stepButtons = new QHBoxLayout;
    for (QPushButton* button : {add, remove, up, down}) {
        button->setAutoDefault(false);
        stepButtons->addWidget(button);
    }
    auto* left = new QVBoxLayout;
    left->addWidget(stepList_, 1);
    left->addLayout(stepButtons);
    forms_ = new QStackedWidget;
    auto* steps = new QHBoxLayout;
    steps->addLayout(left);
    steps->addWidget(forms_, 1);

    folders_ = new QCheckBox(QStringLiteral("フォルダも対象にする (&O)"));
    folders_->setChecked(tools_.IncludeFolders());
    folders_->setEnabled(tools_.MixedRows());

    message_ = new QLabel;
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview_ = new NameToolsPreview(tools_, this);
    previewView_ = new QTableView;
    previewView_->setModel(preview_);
    previewView_->setAccessibleName(QStringLiteral("プレビュー"));
    previewView_->setSelectionMode(QAbstractItemView::NoSelection);
    previewView_->setFocusPolicy(Qt::NoFocus);
    previewView_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    previewView_->verticalHeader()->hide();
    previewView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(presetRow);
    layout->addLayout(steps);
    layout->addWidget(folders_);
    layout->addWidget(message_);
    layout->addWidget(previewView_, 1);
    layout->addWidget(buttons);

    connect(stepList_, &QListWidget::currentRowChanged, this, [this](int row) {
        forms_->setCurrentIndex(row);
        ChainFocus();
    });
    connect(stepList_, &QListWidget::itemChanged, this, [this] { Recompute(); });
    connect(remove, &QPushButton::clicked, this, [this] { RemoveStep(); });
    connect(up, &QPushButton::clicked, this, [this] { MoveStep(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveStep(1); });
    connect(folders_, &QCheckBox::toggled, this, [this](bool on) {
        tools_.SetIncludeFolders(on);
        tools_.GatherTargets();
        preview_->Reset();
        Recompute();
    });
    connect(presetBox_, &QComboBox::activated, this, [this](int index) { ChoosePreset(index); });
    connect(savePreset_, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString name = QInputDialog::getText(
            this, QStringLiteral("プリセットの保存"), QStringLiteral("プリセットの名前 :"),
            QLineEdit::Normal,
            presetBox_->currentIndex() > 0 ? presetBox_->currentText() : QString(), &ok);
        if (ok && !name.trimmed().isEmpty())
            SavePreset(name.trimmed());
    });
    connect(removePreset_, &QPushButton::clicked, this, [this] {
        if (presetBox_->currentIndex() <= 0)
            return;
        const std::string failure = tools_.Presets().Remove(Utf8(presetBox_->currentText()));
        FillPresets({});
        if (!failure.empty())
            ShowMessage(Qs(failure), true);
    });

    FillPresets({});
    LoadSteps(tools_.Steps());
    if (!tools_.Presets().Damage().empty())
        ShowMessage(Qs(tools_.Presets().Damage()), true);
    // The find field of the first step, so typing starts the search at once.
    if (StepForm* first = FormAt(0); first != nullptr && first->FirstField() != nullptr)
        first->FirstField()->setFocus();
}

void NameToolsDialog::ChainFocus() {
    // From the step list into the form it shows, then on to the buttons: the form was made
    // after them, so Qt's own order would skip it.
    QWidget* last = stepList_;
    const auto chain = [&last](QWidget* next) {
        QWidget::setTabOrder(last, next);
        last = next;
    };
    if (StepForm* form = FormAt(stepList_->currentRow())) {
        for (QWidget* field : form->Fields())
            chain(field);
    }
    for (QPushButton* button : stepButtons_)
        chain(button);
    chain(folders_);
    chain(ok_);
}

StepForm* NameToolsDialog::FormAt(int step) const {
    return qobject_cast<StepForm*>(forms_->widget(step));
}

void NameToolsDialog::InsertStep(int at, const NameStep& step) {
    auto* form = new StepForm(step, forms_);
    forms_->insertWidget(at, form);
    connect(form, &StepForm::changed, this, [this] { Recompute(); });
    auto* item = new QListWidgetItem(StepForm::KindLabel(step.index()));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const bool enabled = std::visit([](const auto& s) { return s.enabled; }, step);
    item->setCheckState(enabled ? Qt::Checked : Qt::Unchecked);
    stepList_->insertItem(at, item);
}

void NameToolsDialog::LoadSteps(const std::vector<NameStep>& steps) {
    loading_ = true;
    stepList_->clear();
    while (forms_->count() > 0) {
        QWidget* form = forms_->widget(0);
        forms_->removeWidget(form);
        form->deleteLater();
    }
    for (const NameStep& step : steps)
        InsertStep(stepList_->count(), step);
    loading_ = false;
    stepList_->setCurrentRow(0);
    Recompute();
}

void NameToolsDialog::AddStep(std::size_t kind) {
    const int at = stepList_->count();
    InsertStep(at, StepForm::NewStep(kind));
    stepList_->setCurrentRow(at);
    if (QWidget* field = FormAt(at)->FirstField())
        field->setFocus();
    Recompute();
}

void NameToolsDialog::RemoveStep() {
    const int at = stepList_->currentRow();
    if (at < 0)
        return;
    delete stepList_->takeItem(at);
    QWidget* form = forms_->widget(at);
    forms_->removeWidget(form);
    form->deleteLater();
    stepList_->setCurrentRow(std::min(at, stepList_->count() - 1));
    Recompute();
}

void NameToolsDialog::MoveStep(int by) {
    const int from = stepList_->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= stepList_->count())
        return;
    loading_ = true;
    QListWidgetItem* item = stepList_->takeItem(from);
    stepList_->insertItem(to, item);
    QWidget* form = forms_->widget(from);
    forms_->removeWidget(form);
    forms_->insertWidget(to, form);
    loading_ = false;
    stepList_->setCurrentRow(to);
    Recompute();
}

void NameToolsDialog::Recompute() {
    if (loading_)
        return;
    std::vector<NameStep> steps;
    for (int i = 0; i < forms_->count(); ++i) {
        NameStep step = FormAt(i)->Step();
        const bool on = stepList_->item(i)->checkState() == Qt::Checked;
        std::visit([on](auto& s) { s.enabled = on; }, step);
        steps.push_back(std::move(step));
    }
    const std::string& error = tools_.SetSteps(std::move(steps));
    ok_->setEnabled(error.empty());
    if (!error.empty())
        ShowMessage(Qs(error), true);
    else
        ShowMessage(TargetsText(), false);
    preview_->Refresh();
}

QString NameToolsDialog::TargetsText() const {
    QString text = QStringLiteral("%1 行の新しい名前を作ります。").arg(tools_.TargetCount());
    if (tools_.LeftOutFolders() > 0) {
        text += QStringLiteral("フォルダ %1 個は対象にしていません。").arg(tools_.LeftOutFolders());
    }
    return text;
}

void NameToolsDialog::ShowMessage(const QString& text, bool error) {
    message_->setText(text);
    message_->setStyleSheet(error ? QStringLiteral("color: #e41010;") : QString());
}

void NameToolsDialog::FillPresets(const QString& current) {
    presetBox_->clear();
    presetBox_->addItem(QStringLiteral("(プリセットを選ぶ)"));
    for (const NamePreset& preset : tools_.Presets().All())
        presetBox_->addItem(Qs(preset.name));
    const int found = current.isEmpty() ? 0 : presetBox_->findText(current);
    presetBox_->setCurrentIndex(found < 0 ? 0 : found);
    // A damaged file is never written over.
    const bool writable = tools_.Presets().Damage().empty();
    savePreset_->setEnabled(writable);
    removePreset_->setEnabled(writable);
}

void NameToolsDialog::ChoosePreset(int index) {
    if (index <= 0)
        return;
    if (const NamePreset* preset = tools_.Presets().Find(Utf8(presetBox_->itemText(index))))
        LoadSteps(preset->steps);
}

bool NameToolsDialog::SavePreset(const QString& name) {
    const std::string failure = tools_.Presets().Save({Utf8(name), tools_.Steps()});
    FillPresets(name);
    if (!failure.empty()) {
        ShowMessage(Qs(failure), true);
        return false;
    }
    ShowMessage(QStringLiteral("プリセット「%1」を保存しました。").arg(name), false);
    return true;
}

void NameToolsDialog::accept() {
    // Every edit has compiled the steps already.
    if (!tools_.StepsError().empty())
        return;
    // A preset applied as chosen moves to the top of the recent list (kept apart from the
    // presets file, which only 保存 and 削除 write).
    if (presetBox_->currentIndex() > 0)
        tools_.Presets().Use(Utf8(presetBox_->currentText()));
    QDialog::accept();
}

}  // namespace morvane

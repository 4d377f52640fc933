#include "ui/HistoryDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "host/Messages.h"
#include "ui/QtText.h"

namespace morvane {
namespace {

const char* StateText(RunState state) {
    switch (state) {
        case RunState::Done:
            return msg::kRunDone;
        case RunState::PartlyUndone:
            return msg::kRunPartlyUndone;
        case RunState::Undone:
            return msg::kRunUndone;
        case RunState::Interrupted:
            break;
    }
    return msg::kRunInterrupted;
}

}  // namespace

void RunFilesModel::Reset() {
    beginResetModel();
    rows_ = history_.FileCount();
    endResetModel();
}

int RunFilesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_);
}

int RunFilesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant RunFilesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= rows_)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (index.column()) {
        case OldPath:
            return Qs(history_.FileAt(row).from);
        case NewPath:
            return Qs(history_.FileAt(row).to);
        case Now:
            return Qs(history_.NowOf(row));
        default:
            return {};
    }
}

QVariant RunFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char* const kTitles[] = {"元の名前", "新しい名前", "現在"};
    return section >= 0 && section < kColumns ? Qs(kTitles[section]) : QVariant();
}

HistoryDialog::HistoryDialog(RunHistory& history, QWidget* parent)
    : QDialog(parent),
      history_(history),
      runs_(new QTableWidget(this)),
      files_(new QTableView(this)),
      filesModel_(new RunFilesModel(history, this)),
      dropped_(new QLabel(this)),
      undo_(new QPushButton(Qs("元に戻す (&U)"), this)),
      putBack_(new QPushButton(Qs("残りを元に戻す (&P)"), this)) {
    setWindowTitle(Qs("リネームの履歴"));
    runs_->setColumnCount(kColumns);
    runs_->setHorizontalHeaderLabels(
        {Qs("日時"), Qs("種類"), Qs("ファイル数"), Qs("フォルダ"), Qs("状態")});
    runs_->setSelectionBehavior(QAbstractItemView::SelectRows);
    runs_->setSelectionMode(QAbstractItemView::SingleSelection);
    runs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    runs_->verticalHeader()->hide();
    runs_->horizontalHeader()->setStretchLastSection(true);
    runs_->setAccessibleName(Qs("リネームの一覧"));
    files_->setModel(filesModel_);
    files_->verticalHeader()->hide();
    files_->horizontalHeader()->setStretchLastSection(true);
    files_->setAccessibleName(Qs("選んだリネームのファイル"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(undo_, QDialogButtonBox::ActionRole);
    buttons->addButton(putBack_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(undo_, &QPushButton::clicked, this, &HistoryDialog::UndoChosen);
    connect(putBack_, &QPushButton::clicked, this, &HistoryDialog::PutBackChosen);
    connect(runs_, &QTableWidget::itemSelectionChanged, this, &HistoryDialog::ShowChosenRun);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(runs_, 1);
    layout->addWidget(dropped_);
    layout->addWidget(files_, 2);
    layout->addWidget(buttons);
    resize(900, 600);
    Reload();
}

void HistoryDialog::Reload() {
    listing_ = history_.Runs();
    runs_->clearContents();
    runs_->setRowCount(static_cast<int>(listing_.size()));
    for (std::size_t i = 0; i < listing_.size(); ++i) {
        const RunListing& run = listing_[i];
        const QString texts[kColumns] = {
            Qs(run.when),
            Qs(run.file.kind == RunKind::Undo ? msg::kRunKindUndo : msg::kRunKindRename),
            QString::number(run.files), Qs(run.folders), Qs(StateText(run.state))};
        for (int column = 0; column < kColumns; ++column)
            runs_->setItem(static_cast<int>(i), column, new QTableWidgetItem(texts[column]));
    }
    const int dropped = history_.DroppedRuns();
    dropped_->setVisible(dropped > 0);
    dropped_->setText(Qs(FormatText(msg::kOlderRunsDropped, dropped)));
    if (!listing_.empty())
        runs_->selectRow(0);
    ShowChosenRun();
}

const RunListing* HistoryDialog::Chosen() const {
    const QModelIndexList chosen = runs_->selectionModel()->selectedRows();
    const int row = chosen.isEmpty() ? -1 : chosen.front().row();
    return row >= 0 && static_cast<std::size_t>(row) < listing_.size()
               ? &listing_[static_cast<std::size_t>(row)]
               : nullptr;
}

void HistoryDialog::ShowChosenRun() {
    const RunListing* run = Chosen();
    if (run == nullptr || !history_.OpenRun(run->file.name))
        (void)history_.OpenRun({});
    filesModel_->Reset();
    const bool rename = run != nullptr && run->file.kind == RunKind::Rename;
    undo_->setEnabled(rename &&
                      (run->state == RunState::Done || run->state == RunState::PartlyUndone));
    putBack_->setEnabled(run != nullptr && run->state == RunState::Interrupted);
}

void HistoryDialog::UndoChosen() {
    if (const RunListing* run = Chosen()) {
        const std::string name = run->file.name;
        history_.Undo(name);
        Reload();
    }
}

void HistoryDialog::PutBackChosen() {
    if (const RunListing* run = Chosen()) {
        const std::string name = run->file.name;
        history_.PutBack(name);
        Reload();
    }
}

}  // namespace morvane

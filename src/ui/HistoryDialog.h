#pragma once
// リネームの履歴: the runs of the journal folder, newest first, the files of the chosen run,
// and the undo or the putting back of that run.

#include <QAbstractTableModel>
#include <QDialog>
#include <vector>

#include "ops/recovery/RunHistory.h"

class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

namespace morvane {

// The files of the run opened in the history: old path, new path, and what it is now, which
// is looked at on disk only for the rows the view shows.
class RunFilesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OldPath, NewPath, Now, kColumns };
    explicit RunFilesModel(RunHistory& history, QObject* parent = nullptr)
        : QAbstractTableModel(parent), history_(history) {}

    void Reset();
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RunHistory& history_;
    std::size_t rows_ = 0;
};

class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { When, Kind, Files, Folders, State, kColumns };
    HistoryDialog(RunHistory& history, QWidget* parent);

    QTableWidget* RunsTable() const { return runs_; }
    QTableView* FilesView() const { return files_; }
    QPushButton* UndoButton() const { return undo_; }
    QPushButton* PutBackButton() const { return putBack_; }

private:
    void Reload();
    void ShowChosenRun();
    const RunListing* Chosen() const;
    void UndoChosen();
    void PutBackChosen();

    RunHistory& history_;
    std::vector<RunListing> listing_;
    QTableWidget* runs_;
    QTableView* files_;
    RunFilesModel* filesModel_;
    QLabel* dropped_;
    QPushButton* undo_;
    QPushButton* putBack_;
};

}  // namespace morvane

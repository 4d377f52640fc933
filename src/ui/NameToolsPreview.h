#pragma once
// The name tools' preview: current name, new name and what would be wrong, for the rows the
// view asks for. Nothing is computed for a row before it is shown, so the preview stays
// instant however many rows the tools cover; a change of the steps drops what was computed.

#include <QAbstractTableModel>
#include <string>
#include <unordered_map>

#include "ops/nametools/NameTools.h"

namespace morvane {

class NameToolsPreview final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit NameToolsPreview(NameTools& tools, QObject* parent);

    enum Column { CurrentName, NewName, Problem, ColumnCount };

    // The steps changed: every row is computed again when it is next shown.
    void Refresh();
    // How many rows have been computed since the last refresh.
    std::size_t ComputedCount() const { return cache_.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const NameTools::Preview& At(std::size_t index) const;
    // The row's errors, with a duplicate among the rows shown.
    std::uint32_t ErrorsOf(const NameTools::Preview& shown) const;

    NameTools& tools_;
    mutable std::unordered_map<std::size_t, NameTools::Preview> cache_;
    mutable std::unordered_map<std::string, int> keyCount_;
};

}  // namespace morvane

#include "ui/NameToolsPreview.h"

#include <QColor>

#include "model/FileEntry.h"
#include "ui/QtText.h"

namespace morvane {

NameToolsPreview::NameToolsPreview(NameTools& tools, QObject* parent)
    : QAbstractTableModel(parent), tools_(tools) {}

void NameToolsPreview::Refresh() {
    cache_.clear();
    keyCount_.clear();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int NameToolsPreview::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tools_.TargetCount());
}

int NameToolsPreview::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const NameTools::Preview& NameToolsPreview::At(std::size_t index) const {
    const auto found = cache_.find(index);
    if (found != cache_.end())
        return found->second;
    NameTools::Preview shown = tools_.PreviewAt(index);
    ++keyCount_[shown.key];
    return cache_.emplace(index, std::move(shown)).first->second;
}

std::uint32_t NameToolsPreview::ErrorsOf(const NameTools::Preview& shown) const {
    std::uint32_t errors = shown.errors;
    const auto count = keyCount_.find(shown.key);
    if (count != keyCount_.end() && count->second > 1)
        errors |= ErrDuplicate;
    return errors;
}

QVariant NameToolsPreview::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) {
        if (index.column() == CurrentName)
            return NameForEditing(tools_.CurrentName(row));
        const NameTools::Preview& shown = At(row);
        if (index.column() == NewName)
            return NameForEditing(shown.name);
        QString problem = Qs(ErrorCellText(ErrorsOf(shown)));
        if (!shown.note.empty())
            problem += (problem.isEmpty() ? QString() : QStringLiteral(" ")) + Qs(shown.note);
        return problem;
    }
    if (role == Qt::ForegroundRole && index.column() != CurrentName) {
        if (ErrorsOf(At(row)) != 0)
            return QColor(228, 16, 16);
    }
    if (role == Qt::BackgroundRole && index.column() != CurrentName) {
        if (ErrorsOf(At(row)) != 0)
            return QColor(255, 218, 218);
    }
    return {};
}

QVariant NameToolsPreview::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case CurrentName:
            return QStringLiteral("現在の名前");
        case NewName:
            return QStringLiteral("新しい名前");
        case Problem:
            return QStringLiteral("エラー");
    }
    return {};
}

}  // namespace morvane

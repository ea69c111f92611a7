#include "gui/system/columns_model.h"

#include "core/column.h"

#include <algorithm>
#include <limits>

namespace quintor {

namespace {
// A view cannot hold more rows than an int counts.
int rowsFor(std::size_t columns) {
    return static_cast<int>(std::clamp<std::size_t>(
        columns, 1, static_cast<std::size_t>(std::numeric_limits<int>::max())));
}
} // namespace

FinalColumnsModel::FinalColumnsModel(const SystemState& state, QObject* parent)
    : QAbstractTableModel(parent), state_(state), shownRows_(rowsFor(state.finalColumns.size())) {}

int FinalColumnsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int FinalColumnsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant FinalColumnsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= state_.finalColumns.size())
        return QString();
    if (index.column() == 0)
        return QString::number(index.row() + 1);
    return QString::fromStdString(formatColumn(state_.finalColumns[row]));
}

QVariant FinalColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !hasColumns())
        return {};
    return section == 0 ? QStringLiteral(" Numero") : QStringLiteral("     Colonne");
}

Qt::ItemFlags FinalColumnsModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !hasColumns())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void FinalColumnsModel::refresh() {
    const int rows = rowsFor(state_.finalColumns.size());
    if (rows != shownRows_) {
        beginResetModel();
        shownRows_ = rows;
        endResetModel();
    } else {
        emit dataChanged(index(0, 0), index(rows - 1, 1));
        emit headerDataChanged(Qt::Horizontal, 0, 1);
    }
}

} // namespace quintor

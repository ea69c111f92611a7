#include "gui/archive/archive_model.h"

namespace quintor {

ArchiveModel::ArchiveModel(const Archive& archive, QObject* parent)
    : QAbstractTableModel(parent), archive_(archive) {}

int ArchiveModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(archive_.size());
}

int ArchiveModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant ArchiveModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= archive_.size())
        return {};
    const ArchiveRecord& record = archive_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return QString::fromStdString(record.date);
    case 1:
        return QString::fromStdString(record.column);
    case 2:
        return QString::fromStdString(record.jolly);
    default:
        return {};
    }
}

QVariant ArchiveModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char* titles[] = {"   Data", " Colonne vincenti", "Jolly"};
    return section >= 0 && section < 3 ? QString::fromLatin1(titles[section]) : QVariant{};
}

void ArchiveModel::reload() {
    beginResetModel();
    endResetModel();
}

} // namespace quintor

#pragma once

#include "core/archive.h"

#include <QAbstractTableModel>

namespace quintor {

// The archive as the window's grid shows it: one row per record, oldest first, with the date,
// column and jolly texts; the header row holds the three titles. It reads the archive in
// place, so ten thousand draws cost nothing until they scroll into view.
class ArchiveModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ArchiveModel(const Archive& archive, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The archive changed under the model.
    void reload();

private:
    const Archive& archive_;
};

} // namespace quintor

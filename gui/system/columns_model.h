#pragma once

#include "core/system_state.h"

#include <QAbstractTableModel>

namespace quintor {

// The final-column grid as a view of SystemState::finalColumns: one row per column
// (ordinal, column text), texts made only for the rows on screen, so a list of a million
// columns shows and scrolls at once. An empty list shows one empty, unselectable row and no
// header.
class FinalColumnsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FinalColumnsModel(const SystemState& state, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Call after the columns changed: a new count resets the view, the same count only
    // repaints it (the selection stays).
    void refresh();

    bool hasColumns() const { return !state_.finalColumns.empty(); }

private:
    const SystemState& state_;
    int shownRows_ = 1;
};

} // namespace quintor

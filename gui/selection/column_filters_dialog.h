#pragma once

#include "core/column.h"
#include "core/column_filters.h"
#include "gui/common/worker_run.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quintor {

// The column filters dialog: one field (or pair of fields) a filter, empty when the filter is
// off, and a live count of the columns that pass, worked out on a worker thread and started
// again whenever a field changes. The selection window uses it on the initial columns, the
// system window on the final columns.
class ColumnFiltersDialog : public QDialog {
    Q_OBJECT
public:
    // Counts the columns that pass check; calls progress with the share done and stops (giving
    // nothing) when it returns false. Runs on the worker thread.
    using Counter = std::function<std::optional<std::uint64_t>(
        const FilterCheck& check, const std::function<bool(double)>& progress)>;

    // draws: the archive, newest first, for the "archivio" filter. total: how many columns the
    // count is out of; what: their name in the count's text ("colonne iniziali").
    ColumnFiltersDialog(const ColumnFilters& filters,
                        std::shared_ptr<const std::vector<Column>> draws, Counter counter,
                        std::uint64_t total, const QString& what, QWidget* parent = nullptr);

    // The filters of the fields, valid once the dialog was accepted.
    const ColumnFilters& filters() const { return accepted_; }
    // The last count finished for the fields as they are now.
    std::optional<std::uint64_t> passing() const { return passing_; }

    // The fields read as filters; on a bad field, its message and the field to fix.
    struct Reading {
        std::optional<ColumnFilters> filters;
        QString message;
        QLineEdit* field = nullptr;
    };
    Reading readFields() const;

protected:
    void done(int result) override;

private:
    void onOkClicked();
    void onClearClicked();
    void restartCount();
    void stopCount();
    void countFinished(WorkerRun::Outcome outcome, std::optional<std::uint64_t> passing);
    void showFilters(const ColumnFilters& filters);
    // The form's builders: a row "caption da [from] a [to]", a row of one field, the archive's
    // row, any row of a caption and the fields (with words between them) it leads to.
    void addRangeRow(QGridLayout* grid, const QString& caption, const QString& name,
                     QLineEdit*& from, QLineEdit*& to, const QString& hint);
    void addLimitRow(QGridLayout* grid, const QString& caption, const QString& name,
                     QLineEdit*& field, int width, const QString& hint);
    void addArchiveRow(QGridLayout* grid);
    void addFormRow(QGridLayout* grid, const QString& caption,
                    std::initializer_list<QWidget*> parts);
    QPushButton* addButton(const QString& name, const QString& text);
    // A filter's field; any change to it counts again.
    QLineEdit* addField(const QString& name, const QString& accessibleName, int width,
                        const QString& hint);

    std::shared_ptr<const std::vector<Column>> draws_;
    Counter counter_;
    std::uint64_t total_ = 0;
    QString what_;
    ColumnFilters accepted_;
    std::optional<std::uint64_t> passing_;

    QLineEdit* sumFrom_ = nullptr;
    QLineEdit* sumTo_ = nullptr;
    QLineEdit* oddFrom_ = nullptr;
    QLineEdit* oddTo_ = nullptr;
    QLineEdit* lowFrom_ = nullptr;
    QLineEdit* lowTo_ = nullptr;
    QLineEdit* decadeLimit_ = nullptr;
    QLineEdit* runLimit_ = nullptr;
    QLineEdit* endingLimit_ = nullptr;
    QLineEdit* withNumbers_ = nullptr;
    QLineEdit* withoutNumbers_ = nullptr;
    QLineEdit* archiveLimit_ = nullptr;
    QLineEdit* archiveDraws_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer* restartTimer_ = nullptr;
    WorkerRun* run_ = nullptr;
};

} // namespace quintor

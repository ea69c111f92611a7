#pragma once

#include "core/guarantee.h"
#include "core/system_state.h"
#include "gui/analysis/analysis_window.h"
#include "gui/common/worker_run.h"

#include <QAbstractListModel>

#include <memory>

class QComboBox;
class QLabel;
class QListView;
class QPushButton;

namespace quintor {

// The holes of one guarantee, read from the enumeration a thousand at a time as the list is
// scrolled, so that millions of them are never held at once. Where holes are rare, finding the
// next thousand can take long: the model only passes the view's wish on (moreRowsWanted), the
// window reads them on its worker and hands them over with addRows.
class HolesModel : public QAbstractListModel {
    Q_OBJECT
public:
    HolesModel(std::vector<int> marked, std::vector<Column> finals, int t, int m,
               QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // Every read of holes goes through this cursor, on the window's worker, one at a time;
    // until the first rows are handed over with showFirstRows the view asks for no rows.
    HoleCursor& cursor() { return *cursor_; }
    void showFirstRows(std::vector<Column> rows);
    // Rows of the read asked for by moreRowsWanted; more may follow until endFetch.
    void addRows(std::vector<Column> rows);
    // The read is over. held: the view asks for no more rows until releaseFetching, so that a
    // read the user stopped does not start again by itself while the end of the list shows.
    void endFetch(bool held);
    void releaseFetching() { held_ = false; }
    bool fetching() const { return fetching_; }

    static constexpr std::size_t batch = 1000;

signals:
    void moreRowsWanted();

private:
    void append(std::vector<Column> more);

    std::vector<int> marked_;
    std::vector<Column> finals_;
    int m_;
    std::unique_ptr<HoleCursor> cursor_;
    std::vector<Column> rows_;
    bool started_ = false;
    bool fetching_ = false; // asked for more rows, which have not all come yet
    bool held_ = false;
};

// "Buchi della garanzia": for a chosen "t se m", how many m-sets of marked numbers no final
// column meets in t numbers, the list of them in lexicographic order, and their export. The
// count starts on "Calcola", once the user has chosen t and m.
class GuaranteeHolesDialog : public AnalysisWindow {
    Q_OBJECT
public:
    GuaranteeHolesDialog(const SystemState& state, int t, int m, QWidget* parent = nullptr);
    ~GuaranteeHolesDialog() override;

    int t() const;
    int m() const;
    std::uint64_t holeCount() const { return count_; }
    bool counted() const { return counted_; }

public slots:
    void onCountClicked();  // Calcola
    void onExportClicked(); // Esporta CSV

private:
    QString countText() const;
    void refreshCountLabel();
    void onMoreRowsWanted();
    // Starts the read of more rows asked for while the run that ended so went on.
    void readWaitingRows(WorkerRun::Outcome outcomeBefore);
    void readMoreRows();
    void takeFoundHoles();

    struct FoundHoles; // what the worker has found and the list has not shown yet

    const SystemState& state_;
    std::vector<int> marked_;
    QComboBox* pointsBox_ = nullptr;
    QComboBox* drawnBox_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QListView* holesList_ = nullptr;
    QPushButton* countButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    HolesModel* model_ = nullptr;
    std::uint64_t count_ = 0;
    bool counted_ = false;
    bool countStopped_ = false; // the count ended before its total
    bool readWaiting_ = false;  // more rows asked for while the count goes
    bool readStopped_ = false;  // the last read of more rows was stopped
    std::shared_ptr<FoundHoles> found_;
    int countedPoints_ = 0, countedDrawn_ = 0; // the "t se m" of the list shown
};

} // namespace quintor

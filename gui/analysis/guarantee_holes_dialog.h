#pragma once

#include "core/guarantee.h"
#include "core/system_state.h"
#include "gui/analysis/analysis_window.h"

#include <QAbstractListModel>

#include <memory>

class QComboBox;
class QLabel;
class QListView;
class QPushButton;

namespace quintor {

// The holes of one guarantee, read from the enumeration a thousand at a time as the list is
// scrolled, so that millions of them are never held at once.
class HolesModel : public QAbstractListModel {
    Q_OBJECT
public:
    HolesModel(std::vector<int> marked, std::vector<Column> finals, int t, int m,
               QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The first batch is looked for on a worker thread, through this cursor; until it is
    // handed over with showFirstRows the view asks for no rows.
    HoleCursor& cursor() { return *cursor_; }
    void showFirstRows(std::vector<Column> rows);

    static constexpr std::size_t batch = 1000;

private:
    void append(std::vector<Column> more);

    std::vector<int> marked_;
    std::vector<Column> finals_;
    int m_;
    std::unique_ptr<HoleCursor> cursor_;
    std::vector<Column> rows_;
    bool started_ = false;
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
    int countedPoints_ = 0, countedDrawn_ = 0; // the "t se m" of the list shown
};

} // namespace quintor

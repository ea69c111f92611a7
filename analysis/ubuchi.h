#pragma once

#include "core/guarantee.h"
#include "core/system_state.h"

#include <QAbstractListModel>
#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;

namespace quintor {

class BackgroundRun;

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

    static constexpr std::size_t batch = 1000;

private:
    std::vector<int> marked_;
    std::vector<Column> finals_;
    int m_;
    std::unique_ptr<HoleCursor> cursor_;
    std::vector<Column> rows_;
};

// "Buchi della garanzia": for a chosen "t se m", how many m-sets of marked numbers no final
// column meets in t numbers, the list of them in lexicographic order, and their export.
class TBuchi : public QDialog {
    Q_OBJECT
public:
    TBuchi(const SystemState& state, int t, int m, QWidget* parent = nullptr);
    ~TBuchi() override;

    int t() const;
    int m() const;
    std::uint64_t holeCount() const { return count_; }
    bool counted() const { return counted_; }

public slots:
    void SPB3Click(); // Calcola
    void SPB4Click(); // Esporta CSV

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    const SystemState& state_;
    std::vector<int> marked_;
    QComboBox* CBT = nullptr;
    QComboBox* CBM = nullptr;
    QLabel* LabelConteggio = nullptr;
    QListView* LBU = nullptr;
    QProgressBar* STS = nullptr;
    QPushButton* SPB1 = nullptr;
    QPushButton* SPB2 = nullptr;
    QPushButton* SPB3 = nullptr;
    QPushButton* SPB4 = nullptr;
    BackgroundRun* run_ = nullptr;
    HolesModel* model_ = nullptr;
    std::uint64_t count_ = 0;
    bool counted_ = false;
    bool started_ = false;
};

} // namespace quintor

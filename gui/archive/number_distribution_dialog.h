#pragma once

#include "core/column.h"

#include <QDialog>
#include <QPixmap>

#include <array>
#include <vector>

class QPushButton;

namespace quintor {

// Bar chart of how many final columns hold each number 1 to 90.
class NumberDistributionDialog : public QDialog {
    Q_OBJECT
public:
    // The columns are read when the window is first shown, so they must outlive it: a
    // temporary list would be gone by then.
    explicit NumberDistributionDialog(const std::vector<Column>& finalColumns,
                                      QWidget* parent = nullptr);
    NumberDistributionDialog(std::vector<Column>&& finalColumns,
                             QWidget* parent = nullptr) = delete;

    // True once the counts are ready; until then only the background is painted.
    bool countsReady() const { return countsReady_; }
    const std::array<std::size_t, 91>& counts() const { return counts_; }

public slots:
    void countNumbers();
    void onHelpClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    const std::vector<Column>& finals_;
    std::array<std::size_t, 91> counts_{};
    bool countsReady_ = false;
    QPixmap background_;
    QPushButton* okButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
};

} // namespace quintor

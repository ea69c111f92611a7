#pragma once

#include "core/column.h"

#include <QDialog>
#include <QPixmap>

#include <array>
#include <vector>

class QFont;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor {

class ColumnListWindow;

// Counts, while the user types the six numbers of a draw, how many final columns hit 0 to 6
// of them, lists those that hit 3 or more in the view-columns window and warns when some
// column hits 5 or 6, since the jolly is left to the user.
class WinningColumnDialog : public QDialog {
    Q_OBJECT
public:
    // The columns are read while the dialog is open, so they must outlive it.
    WinningColumnDialog(const std::vector<Column>& finalColumns, ColumnListWindow& columnList,
                        QWidget* parent = nullptr);
    WinningColumnDialog(std::vector<Column>&& finalColumns, ColumnListWindow& columnList,
                        QWidget* parent = nullptr) = delete;

    QLabel* counterLabel(int matches) const { return counters_[static_cast<std::size_t>(matches)]; }

public slots:
    void prepareComparison();
    void onWinningColumnChanged(const QString& text);
    void onShowColumnsClicked();
    void onCloseClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildPointsPanel(const QFont& bold, const QFont& big);

    const std::vector<Column>& finals_;
    ColumnListWindow& columnList_;
    QLineEdit* winningColumnField_ = nullptr;
    std::array<QLabel*, 7> counters_{}; // countLabel0 .. countLabel6
    QLabel* jollyWarningLabel_ = nullptr;
    QPushButton* showColumnsButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPixmap background_;
    bool activated_ = false;
};

} // namespace quintor

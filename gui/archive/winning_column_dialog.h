#pragma once

#include "core/column.h"

#include <QDialog>
#include <QPixmap>

#include <array>
#include <vector>

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
    WinningColumnDialog(const std::vector<Column>& finalColumns, ColumnListWindow& visua,
                        QWidget* parent = nullptr);
    WinningColumnDialog(std::vector<Column>&& finalColumns, ColumnListWindow& visua,
                        QWidget* parent = nullptr) = delete;

    QLabel* counterLabel(int matches) const { return counters_[static_cast<std::size_t>(matches)]; }

public slots:
    void FormActivate();
    void CVChange(const QString& text);
    void VICOClick();
    void BITBTN2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    const std::vector<Column>& finals_;
    ColumnListWindow& visua_;
    QLineEdit* CV = nullptr;
    std::array<QLabel*, 7> counters_{}; // Label13 .. Label19
    QLabel* atz = nullptr;
    QPushButton* VICO = nullptr;
    QPushButton* BITBTN2 = nullptr;
    QPixmap background_;
    bool activated_ = false;
};

} // namespace quintor

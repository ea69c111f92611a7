#pragma once

#include "core/column.h"
#include "core/selection.h"
#include "core/selection_guarantee.h"
#include "core/system_state.h"
#include "gui/common/worker_run.h"

#include <QDialog>
#include <QPixmap>

#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QProgressBar;
class QPushButton;
class QSlider;

namespace quintor {

class Archive;
class BevelPanel;

// The selection window: the count of columns wanted and the precision/speed control, then the
// run on a worker thread while the window stays live. The run works on the system it is given
// (its marks, weights, fixed numbers) and leaves its result in the system's final columns.
// Instead of a count, the player may ask for a guarantee "t se m" within a budget of columns:
// the window then says how much of the guarantee the columns reach before it closes.
class SelectionDialog : public QDialog {
    Q_OBJECT
public:
    // draws: newest first; the window keeps its own copy for the run.
    SelectionDialog(SystemState& system, std::vector<Column> draws, QWidget* parent = nullptr);
    ~SelectionDialog() override;

    // The whole archive, newest first, for the column filters that read past draws.
    void setFilterDraws(std::shared_ptr<const std::vector<Column>> draws);

    // 1 once a run has ended (completed, all rejected or stopped), 0 if none ran.
    int runEnded() const { return runEnded_; }
    bool running() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillFromSystem();
    void onStartClicked();
    void onHelpClicked();
    void onFiltersClicked();
    void showFilters();
    // The run's result becomes the final columns; the window closes.
    void onRunFinished(WorkerRun::Outcome outcome,
                       std::optional<Expected<SelectionResult>>& result);
    void onModeChanged();
    bool byGuarantee() const;
    void startGuaranteeRun();
    void onGuaranteeRunFinished(WorkerRun::Outcome outcome, const Expected<RepairResult>& result,
                                const GuaranteeTarget& target, const std::vector<int>& fixed);
    void hideIdleControls();

    SystemState& system_;
    std::vector<Column> draws_;
    double initialColumns_ = 0;
    int runEnded_ = 0;
    bool activated_ = false;

    QLabel* fixedNumbersLabel_ = nullptr;
    BevelPanel* modePanel_ = nullptr;
    QRadioButton* scoreModeButton_ = nullptr;
    QRadioButton* guaranteeModeButton_ = nullptr;
    QComboBox* pointsBox_ = nullptr;
    QComboBox* drawnBox_ = nullptr;
    QLineEdit* budgetEdit_ = nullptr;
    BevelPanel* countPanel_ = nullptr;
    QLabel* initialCountLabel_ = nullptr;
    QLabel* finalCountCaption_ = nullptr;
    QLineEdit* finalCountEdit_ = nullptr;
    QSlider* precisionSlider_ = nullptr;
    QLabel* precisionLabel_ = nullptr;
    QLabel* speedLabel_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* filtersButton_ = nullptr;
    QLabel* filtersLabel_ = nullptr;
    std::shared_ptr<const std::vector<Column>> filterDraws_;
    QPushButton* stopButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPixmap background_;
    WorkerRun* run_ = nullptr;
};

// The launcher behind the tool button and the menu item "Seleziona colonne finali": checks
// the archive and the marks, opens the selection window and turns its result into the final
// columns (setting the modified flag when there are any). Returns the window's run-ended flag,
// or -1 when a check stopped it before the window opened.
int launchSelection(QWidget* parent, SystemState& system, const Archive& archive);

} // namespace quintor

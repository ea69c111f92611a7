#include "gui/system/statistics_windows.h"

#include "core/number_statistics.h"
#include "gui/archive/number_count_dialog.h"
#include "gui/archive/number_distribution_dialog.h"
#include "gui/archive/winning_column_dialog.h"
#include "gui/common/column_list_window.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/simulated_draws_notice.h"
#include "gui/selection/winning_probability_dialog.h"
#include "gui/system/number_probability_dialog.h"

namespace quintor {

void openProbabilityWindow(QWidget* owner, const SystemState& state) {
    if (state.finalColumns.empty()) {
        beep();
        return;
    }
    WinningProbabilityDialog window(state.finalColumns, state.marked, owner);
    window.exec();
}

void openComparison(QWidget* owner, const SystemState& state, ColumnListWindow& columnList) {
    if (state.finalColumns.empty()) {
        beep();
        return;
    }
    WinningColumnDialog dialog(state.finalColumns, columnList, owner);
    dialog.exec();
}

void openDistribution(QWidget* owner, const SystemState& state) {
    if (state.finalColumns.empty()) {
        beep();
        return;
    }
    NumberDistributionDialog window(state.finalColumns, owner);
    window.exec();
}

void openProbabilitiesEditor(QWidget* owner, SystemState& state) {
    if (state.markedCount() == 0) {
        beep();
        return;
    }
    const auto before = state.probabilities;
    NumberProbabilityDialog editor(state.marked, state.probabilities, owner);
    editor.exec();
    // Rows stored before a bad value stay stored even when the editor is then cancelled; any
    // change must reach the save question, or closing the window would lose it.
    if (state.probabilities != before)
        state.modified = true;
}

namespace {

bool changeByRanking(QWidget* owner, SystemState& state, const Archive& archive, bool adding) {
    if (archive.size() < statisticsMinimumDraws) {
        showError(owner, QStringLiteral("Errore"), QString::fromUtf8(statisticsArchiveMessage));
        return false;
    }
    NumberCountDialog dialog(owner);
    if (!adding)
        dialog.setForRemoving();
    addSimulatedDrawsNotice(&dialog, archive);
    dialog.exec();
    if (dialog.count() <= 0)
        return false;

    HourglassGuard hourglass;
    const auto ranking = rankFromArchive(archive, dialog.criteria(), adding);
    if (!ranking)
        return false;
    if (changeMarksByRanking(state.marked, ranking.value(), dialog.count(), adding) == 0)
        return false;
    state.modified = true;
    return true;
}

} // namespace

bool addMostProbableNumbers(QWidget* owner, SystemState& state, const Archive& archive) {
    return changeByRanking(owner, state, archive, true);
}

bool removeLeastProbableNumbers(QWidget* owner, SystemState& state, const Archive& archive) {
    if (state.markedCount() == 0) {
        beep();
        return false;
    }
    return changeByRanking(owner, state, archive, false);
}

} // namespace quintor

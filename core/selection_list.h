#pragma once

#include "core/column.h"
#include "core/number_set.h"
#include "core/run_control.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace quintor {

// The kept columns of a selection run, offered in enumeration order. The lowest row is the
// first row holding the lowest score; once the list is full a tournament tree finds it again
// after each change in log time instead of a scan.
class SelectionList {
public:
    // The rows are taken at once: growing them as they fill would need half as much again
    // at each step, more than the run was measured to need (see checkSelectionMemory).
    SelectionList(std::size_t capacity, double tolerance)
        : capacity_(capacity), tolerance_(tolerance) {
        columns_.reserve(capacity);
        scores_.reserve(capacity);
        sets_.reserve(capacity);
    }

    // Candidates at or below this score cannot change the list.
    double cutoff() const {
        if (!full())
            return 0;
        // The margin only lets a few more columns through to the exact rules below.
        return std::max(0.0, lowest_ - tolerance_ - 1e-6);
    }

    // After a confirmed stop the run's result is thrown away: offers then cost nothing, so a
    // unit full of tie-breaks against a long list cannot hold the stop up.
    void stopWhen(const RunControl* control) { stop_ = control; }

    void offer(const Column& column, double score) {
        if (score <= 0 || (stop_ && stop_->cancelRequested()))
            return;
        if (!full()) {
            append(column, score);
            return;
        }
        const double difference = score - lowest_;
        if (score > lowest_ && difference >= tolerance_)
            replaceLowest(column, score);
        else if (std::fabs(difference) < tolerance_)
            tieBreak(column, score);
    }

    const std::vector<Column>& columns() const { return columns_; }
    const std::vector<double>& scores() const { return scores_; }
    bool empty() const { return columns_.empty(); }

private:
    bool full() const { return columns_.size() >= capacity_; }
    void append(const Column& column, double score);
    void replaceLowest(const Column& column, double score);
    // Overlap profile of a column with every kept row but the lowest one.
    std::array<std::size_t, 7> overlapProfile(const NumberSet& column) const;
    void tieBreak(const Column& column, double score);
    bool lower(std::size_t a, std::size_t b) const {
        return scores_[a] < scores_[b] || (scores_[a] == scores_[b] && a < b);
    }
    void buildTree();
    std::size_t pick(std::size_t a, std::size_t b) const;
    void updateTree(std::size_t row);
    void settleLowest();

    static constexpr std::size_t npos = std::numeric_limits<std::size_t>::max();

    std::size_t capacity_;
    double tolerance_;
    const RunControl* stop_ = nullptr;
    std::vector<Column> columns_;
    std::vector<double> scores_;
    std::vector<NumberSet> sets_;
    double lowest_ = 1000;
    std::size_t lowestRow_ = npos;
    std::size_t leaves_ = 0;
    std::vector<std::size_t> tree_;
    std::array<std::size_t, 7> lowestProfile_{};
    bool profileValid_ = false;
};

} // namespace quintor

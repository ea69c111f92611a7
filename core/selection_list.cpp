#include "core/selection_list.h"

#include <bit>

namespace quintor {

void SelectionList::append(const Column& column, double score) {
    columns_.push_back(column);
    scores_.push_back(score);
    sets_.push_back(NumberSet::of(column));
    if (lowestRow_ == npos || score < lowest_) {
        lowest_ = score;
        lowestRow_ = columns_.size() - 1;
    }
    if (full())
        buildTree();
}

void SelectionList::replaceLowest(const Column& column, double score) {
    const std::size_t row = lowestRow_;
    columns_[row] = column;
    scores_[row] = score;
    sets_[row] = NumberSet::of(column);
    profileValid_ = false;
    updateTree(row);
}

std::array<std::size_t, 7> SelectionList::overlapProfile(const NumberSet& column) const {
    std::array<std::size_t, 7> profile{};
    for (std::size_t r = 0; r < sets_.size(); ++r)
        if (r != lowestRow_)
            ++profile[static_cast<std::size_t>(common(column, sets_[r]))];
    return profile;
}

void SelectionList::tieBreak(const Column& column, double score) {
    const auto candidate = overlapProfile(NumberSet::of(column));
    if (!profileValid_) {
        lowestProfile_ = overlapProfile(sets_[lowestRow_]);
        profileValid_ = true;
    }
    for (std::size_t m = 7; m-- > 0;) {
        if (candidate[m] != lowestProfile_[m]) {
            if (candidate[m] > lowestProfile_[m])
                replaceLowest(column, score);
            return;
        }
    }
}

void SelectionList::buildTree() {
    leaves_ = std::bit_ceil(capacity_);
    tree_.assign(2 * leaves_, npos);
    for (std::size_t r = 0; r < columns_.size(); ++r)
        tree_[leaves_ + r] = r;
    for (std::size_t i = leaves_; i-- > 1;)
        tree_[i] = pick(tree_[2 * i], tree_[2 * i + 1]);
    settleLowest();
}

std::size_t SelectionList::pick(std::size_t a, std::size_t b) const {
    if (a == npos)
        return b;
    if (b == npos)
        return a;
    return lower(b, a) ? b : a;
}

void SelectionList::updateTree(std::size_t row) {
    for (std::size_t i = (leaves_ + row) / 2; i >= 1; i /= 2)
        tree_[i] = pick(tree_[2 * i], tree_[2 * i + 1]);
    settleLowest();
}

void SelectionList::settleLowest() {
    const std::size_t row = tree_[1];
    if (row != lowestRow_)
        profileValid_ = false;
    lowestRow_ = row;
    lowest_ = scores_[row];
}

} // namespace quintor

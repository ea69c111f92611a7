#include "core/covering_search.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace quintor {

using namespace subset_masks;

namespace {

// The temperature falls from hot to cold over a cycle of moves and then starts again: a
// reheat lets the search leave a region where it has settled. A move that opens one more
// m-set is taken about one time in twelve when hot, one in four thousand when cold.
constexpr double hot = 0.4;
constexpr double cold = 0.12;
// Every other move is the larger one, a whole new column: on the smaller coverings it finds
// what single numbers moved one at a time miss.
constexpr std::uint64_t jumpEvery = 2;
// A change of one number is the best of several drawn for the same open m-set when each costs
// little to weigh (a few dozen m-sets): the search then wastes fewer moves on changes it
// would refuse. Weighing them costs about this many m-sets at most.
constexpr std::uint64_t weighedSetsPerMove = 320;
constexpr std::uint64_t mostChangesWeighed = 16;
// A search that has found nothing better over this many cycles, or for twice the work it took
// to find its best, and at least this much work a column and m-set to cover (times the changes
// weighed a move, so that weighing more never means fewer moves), has settled and ends early.
constexpr std::uint64_t stallCycles = 400;
constexpr std::uint64_t stallPerColumnAndSet = 2000;

} // namespace

CoveringSearch::CoveringSearch(CoveringTarget target, const std::vector<Mask>& start,
                               std::uint64_t seed)
    : target_(std::move(target)), count_(target_.wanted.size(), 0),
      owners_(target_.wanted.size(), 0), where_(target_.wanted.size(), -1), random_(seed) {
    // Every wanted m-set starts open, then each column covers its share.
    std::uint32_t r = 0;
    const int n = target_.space->size();
    for (Mask set = (Mask{1} << target_.m) - 1; n >= target_.m && set <= target_.universe;
         set = nextSubset(set), ++r)
        if (target_.wanted[r])
            openSet(set, r);
    for (Mask column : start) {
        columns_.push_back(column);
        alone_.push_back(0);
        cover(columns_.size() - 1, +1);
    }
    best_ = columns_;
    bestOpen_ = open_.size();
    heat_ = hot;
    // What costOf() visits for one change: t - 1 numbers of the column's five others (the
    // fixed ones among them), m - t of the numbers outside, twice.
    const int fixedCount = std::popcount(target_.fixed);
    const std::uint64_t setsPerChange = 2 * binomial(5 - fixedCount, target_.t - 1 - fixedCount) *
                                        binomial(n - 7, target_.m - target_.t);
    changesWeighed_ = std::clamp<std::uint64_t>(
        weighedSetsPerMove / std::max<std::uint64_t>(setsPerChange, 1), 1, mostChangesWeighed);
}

void CoveringSearch::openSet(Mask set, std::uint32_t rank) {
    where_[rank] = static_cast<std::int32_t>(open_.size());
    open_.push_back(set);
}

void CoveringSearch::closeSet(std::uint32_t rank) {
    const auto at = static_cast<std::size_t>(where_[rank]);
    const Mask last = open_.back();
    open_[at] = last;
    where_[target_.space->rank(last)] = static_cast<std::int32_t>(at);
    open_.pop_back();
    where_[rank] = -1;
}

// The column in slot comes to cover the m-set: the count, the sum of the slots covering it
// (the slot itself when one does) and the m-sets each column covers alone follow.
void CoveringSearch::gain(std::size_t slot, Mask set, std::uint32_t r) {
    if (count_[r] == 0) {
        closeSet(r);
        ++alone_[slot];
    } else if (count_[r] == 1) {
        --alone_[owners_[r]];
    }
    ++count_[r];
    owners_[r] += slot;
    (void)set;
}

void CoveringSearch::lose(std::size_t slot, Mask set, std::uint32_t r) {
    --count_[r];
    owners_[r] -= slot;
    if (count_[r] == 0) {
        openSet(set, r);
        --alone_[slot];
    } else if (count_[r] == 1) {
        ++alone_[owners_[r]];
    }
}

// Adds (by +1) or takes away (-1) the cover of the column in slot.
void CoveringSearch::cover(std::size_t slot, int by) {
    forEachNeighbour(target_.universe, target_.m, target_.fixed, columns_[slot], target_.t,
                     [&](Mask set) {
                         ++work_;
                         const std::uint32_t r = target_.space->rank(set);
                         if (!target_.wanted[r])
                             return;
                         if (by > 0)
                             gain(slot, set, r);
                         else
                             lose(slot, set, r);
                     });
}

// A covering with fewer columns, or with the same columns fewer m-sets open, becomes the best.
bool CoveringSearch::keepIfBetter() {
    const bool better = open_.empty()
                            ? (bestOpen_ > 0 || columns_.size() < best_.size())
                            : (columns_.size() == best_.size() && open_.size() < bestOpen_);
    if (better) {
        best_ = columns_;
        bestOpen_ = open_.size();
        sinceBest_ = 0;
        bestAtWork_ = work_;
    }
    return better;
}

// Takes away the column that alone covers the fewest wanted m-sets; the last column moves
// into its slot.
void CoveringSearch::dropWeakest() {
    const auto weakest =
        static_cast<std::size_t>(std::min_element(alone_.begin(), alone_.end()) - alone_.begin());
    cover(weakest, -1);
    const std::size_t last = columns_.size() - 1;
    if (weakest != last) {
        cover(last, -1);
        columns_[weakest] = columns_[last];
        alone_[weakest] = 0;
        cover(weakest, +1);
    }
    columns_.pop_back();
    alone_.pop_back();
}

// Mostly a change that makes a column cover a random open m-set: one of the columns that
// hold t - 1 of its numbers trades a number outside it for one inside. Such a column is found
// by drawing columns at random until one fits (each fitting column as likely), which on large
// coverings costs a few draws where looking at every column would cost hundreds. Without one
// after that many draws, a random column moves one number towards the set.
CoveringSearch::Change CoveringSearch::proposeChange(Mask set) {
    const std::size_t columns = columns_.size();
    std::size_t slot = random_.next() % columns;
    for (std::size_t draw = 0; draw < 2 * columns; ++draw) {
        if (std::popcount(columns_[slot] & set) == target_.t - 1)
            break;
        slot = random_.next() % columns;
    }
    work_ += 1;
    const Mask column = columns_[slot];
    const Mask outs = column & ~set & ~target_.fixed;
    const Mask ins = set & ~column;
    if (!outs || !ins)
        return {slot, 0, 0};
    return {slot, random_.bitOf(outs), random_.bitOf(ins)};
}

// How many more wanted m-sets the change leaves open. Only the m-sets that hold t - 1 numbers
// of the column's other five (the fixed ones among them) change: those that also hold the
// number going out lose the column, those that hold the one coming in gain it.
std::int64_t CoveringSearch::costOf(const Change& change) {
    lost_.clear();
    gained_.clear();
    const Mask rest = columns_[change.slot] & ~change.out;
    const Mask inside = rest & ~target_.fixed;
    const Mask outside = target_.universe & ~columns_[change.slot] & ~change.in;
    const int fromInside = target_.t - 1 - std::popcount(target_.fixed);
    std::int64_t cost = 0;
    forEachSubset(inside, fromInside, target_.fixed, [&](Mask part) {
        forEachSubset(outside, target_.m - target_.t, part, [&](Mask others) {
            work_ += 2;
            const std::uint32_t before = target_.space->rank(others | change.out);
            const std::uint32_t after = target_.space->rank(others | change.in);
            if (target_.wanted[before]) {
                lost_.emplace_back(others | change.out, before);
                cost += count_[before] == 1;
            }
            if (target_.wanted[after]) {
                gained_.emplace_back(others | change.in, after);
                cost -= count_[after] == 0;
            }
        });
    });
    return cost;
}

void CoveringSearch::apply(const Change& change) {
    for (const auto& [set, r] : lost_)
        lose(change.slot, set, r);
    for (const auto& [set, r] : gained_)
        gain(change.slot, set, r);
    columns_[change.slot] = (columns_[change.slot] & ~change.out) | change.in;
}

bool CoveringSearch::accepts(std::int64_t rise) {
    return rise <= 0 || random_.unit() < std::exp(-static_cast<double>(rise) / heat_);
}

// A larger move now and then: a new column through the open m-set (t of its numbers, the
// fixed ones, the rest at random) takes the place of the column whose loss it makes up for
// best.
void CoveringSearch::jump(Mask set) {
    Mask column = target_.fixed;
    Mask inside = set & ~column;
    while (std::popcount(column & set) < target_.t && inside) {
        const Mask bit = random_.bitOf(inside);
        column |= bit;
        inside &= ~bit;
    }
    if (std::popcount(column & set) < target_.t || std::popcount(column) > 6)
        return;
    while (std::popcount(column) < 6)
        column |= random_.bitOf(target_.universe & ~column);
    // Only the columns that share an m-set with the new one are counted, and only they are
    // cleared afterwards.
    if (shared_.size() != columns_.size())
        shared_.assign(columns_.size(), 0);
    touched_.clear();
    std::int64_t opened = 0;
    forEachNeighbour(target_.universe, target_.m, target_.fixed, column, target_.t, [&](Mask s) {
        ++work_;
        const std::uint32_t r = target_.space->rank(s);
        if (!target_.wanted[r])
            return;
        if (count_[r] == 0) {
            --opened;
        } else if (count_[r] == 1) {
            if (shared_[owners_[r]]++ == 0)
                touched_.push_back(owners_[r]);
        }
    });
    std::size_t out = 0;
    std::int64_t rise = INT64_MAX;
    for (std::size_t slot = 0; slot < columns_.size(); ++slot) {
        const std::int64_t here = alone_[slot] - shared_[slot] + opened;
        if (here < rise || (here == rise && random_.next() % 2 == 0)) {
            rise = here;
            out = slot;
        }
    }
    for (std::size_t slot : touched_)
        shared_[slot] = 0;
    work_ += columns_.size() / 8;
    if (!accepts(rise))
        return;
    cover(out, -1);
    columns_[out] = column;
    cover(out, +1);
}

// One move of the annealing: a change that leaves no more m-sets open is always made, one that
// leaves more with a chance that shrinks with the rise and the temperature.
void CoveringSearch::step() {
    const Mask set = open_[random_.next() % open_.size()];
    ++moves_;
    ++sinceBest_;
    if (jumpEvery > 0 && moves_ % jumpEvery == 0) {
        jump(set);
    } else {
        Change change = proposeChange(set);
        std::int64_t cost = change.out ? costOf(change) : INT64_MAX;
        for (std::uint64_t more = 1; more < changesWeighed_; ++more) {
            const Change other = proposeChange(set);
            if (!other.out)
                continue;
            if (const std::int64_t otherCost = costOf(other); otherCost < cost) {
                cost = otherCost;
                change = other;
            }
        }
        if (!change.out || !accepts(cost))
            return;
        if (changesWeighed_ > 1)
            costOf(change); // the m-sets of the change chosen, for apply()
        apply(change);
    }
    if (!open_.empty() && open_.size() < bestOpen_ && columns_.size() == best_.size())
        keepIfBetter();
}

bool CoveringSearch::run(std::uint64_t allowance, RunControl* control, const Progress& progress) {
    if (columns_.empty())
        return true;
    // A cycle long enough for every column to move a few times.
    const std::uint64_t cycle = std::max<std::uint64_t>(
        20'000, 10 * columns_.size() * static_cast<std::uint64_t>(std::popcount(target_.universe)));
    const std::uint64_t stallMoves = stallCycles * cycle;
    const auto wanted =
        static_cast<std::uint64_t>(std::count(target_.wanted.begin(), target_.wanted.end(), 1));
    const std::uint64_t leastStall = std::max<std::uint64_t>(
        std::min(allowance, stallPerColumnAndSet * changesWeighed_ * columns_.size() * wanted), 1);
    std::uint64_t stallWork = leastStall;
    const double cooling = std::pow(cold / hot, 1.0 / static_cast<double>(cycle));
    bestAtWork_ = work_;
    // The gauge never goes back: the share of the allowance, or of the stall that would end
    // the search, whichever is further on.
    double done = 0;
    auto report = [&] {
        if (!progress)
            return;
        const auto share = [](std::uint64_t part, std::uint64_t whole) {
            return static_cast<double>(part) / static_cast<double>(whole);
        };
        done = std::min(1.0, std::max({done, share(work_, allowance), share(sinceBest_, stallMoves),
                                       share(work_ - bestAtWork_, stallWork)}));
        progress({done, best_.size(), bestOpen_});
    };
    while (work_ < allowance && sinceBest_ < stallMoves && work_ - bestAtWork_ < stallWork) {
        stallWork = std::max(leastStall, 2 * bestAtWork_);
        if (open_.empty()) {
            keepIfBetter();
            report();
            if (columns_.size() <= 1)
                break;
            dropWeakest();
            continue;
        }
        step();
        heat_ *= cooling;
        if (heat_ < cold)
            heat_ = hot;
        if ((moves_ & 255u) != 0)
            continue;
        if ((moves_ & 4095u) == 0)
            report();
        if (control && !control->checkpoint())
            return false;
    }
    keepIfBetter();
    return true;
}

} // namespace quintor

#pragma once

#include "core/backtest.h"
#include "core/repair.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace quintor::reference {

// Every m-set of marked numbers in lexicographic order against every final column.
std::array<std::uint64_t, 7> bestMatchesOfSize(std::span<const int> marked,
                                               std::span<const Column> finals, int m);

// The same over the m-sets that hold every number of fixed.
std::array<std::uint64_t, 7> bestMatchesHolding(std::span<const int> marked,
                                                std::span<const Column> finals, int m,
                                                std::span<const int> fixed);

// The m-sets no final column holds t numbers of, in lexicographic order.
std::vector<Column> holes(std::span<const int> marked, std::span<const Column> finals, int t,
                          int m);

// The greedy repair with every gain counted afresh before each choice, over the m-sets that
// hold every fixed number; the shares are counted afresh at the end.
RepairResult repair(const RepairRequest& request);

// Every column against every draw.
BacktestResult backtest(std::span<const Column> finals, std::span<const ArchiveRecord> draws);

} // namespace quintor::reference

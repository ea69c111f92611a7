#pragma once

#include "core/column.h"
#include "core/expected.h"
#include "core/run_control.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quintor {

// "t se m": whenever m of the drawn numbers are among the marked ones, some final column holds
// at least t of them. The table covers m = 3..6 and t = 2..m.
inline constexpr int smallestDrawnCount = 3;
inline constexpr int largestDrawnCount = 6;
inline constexpr int smallestGuaranteedPoints = 2;

// For every m, how the C(n, m) sets of m marked numbers spread over their best match with the
// final columns (the most numbers any one final column holds of them).
struct GuaranteeTable {
    int markedCount = 0;
    std::array<std::array<std::uint64_t, 7>, 7> best{}; // [m][best match]
    bool stopped = false; // the run was cancelled: the counts are incomplete

    std::uint64_t total(int m) const;
    std::uint64_t covered(int m, int t) const;
    std::uint64_t holes(int m, int t) const { return total(m) - covered(m, t); }
    // 100 * covered / total; 0 for an empty row (fewer than m marked numbers).
    double percent(int m, int t) const;
    bool guarantees(int m, int t) const { return total(m) > 0 && covered(m, t) == total(m); }
    // Every m-set has been counted: after a stop the rows counted before it are still exact.
    bool complete(int m) const { return covered(m, 0) == total(m); }
};

// Share of the work done, 0..1, at regular checkpoints on the engine's threads (one at a time).
using GuaranteeProgress = std::function<void(double done)>;

// The best-match spread of every m-set of the marked numbers (increasing, distinct, 1..90),
// for one m in 1..6. Numbers of a final column outside the marked ones never match. threads 0
// chooses by the machine; the split is by the smallest number, so the counts stay exact.
// Returns false when control cancelled the run.
bool countBestMatchesOfSize(std::span<const int> marked, std::span<const Column> finals, int m,
                            std::array<std::uint64_t, 7>& best, RunControl* control = nullptr,
                            const GuaranteeProgress& progress = {}, int threads = 0);

// The same spread over the m-sets that hold every number of fixed (marked numbers), the draws
// in which a system's fixed numbers all come out. Empty when fixed holds more than m numbers or
// one that is not marked. On the calling thread; false when control cancelled the run.
bool countBestMatchesHolding(std::span<const int> marked, std::span<const Column> finals, int m,
                             std::span<const int> fixed, std::array<std::uint64_t, 7>& best,
                             RunControl* control = nullptr);

// The whole table, m = 3..6.
GuaranteeTable guaranteeTable(std::span<const int> marked, std::span<const Column> finals,
                              RunControl* control = nullptr, const GuaranteeProgress& progress = {},
                              int threads = 0);

// The holes of "t se m" in lexicographic order, a batch at a time, never holding more than one
// batch: the m-sets of marked numbers that no final column holds t numbers of. Subtrees of
// prefixes that some final column already meets in t numbers are skipped whole.
class HoleCursor {
public:
    HoleCursor(std::span<const int> marked, std::span<const Column> finals, int t, int m);
    ~HoleCursor();
    HoleCursor(const HoleCursor&) = delete;
    HoleCursor& operator=(const HoleCursor&) = delete;

    // Appends up to max holes (their first m numbers increasing, the rest 0) to out; false
    // once the enumeration is over. control may end a batch early. progress hears the share
    // of the m-sets passed now and then, also while a batch waits for holes that are rare.
    bool next(std::vector<Column>& out, std::size_t max, RunControl* control = nullptr,
              const GuaranteeProgress& progress = {});
    bool finished() const;
    // The share, 0..1, of the m-sets (in lexicographic order) the enumeration has passed.
    double share() const;

private:
    struct State;
    State* state_;
};

// A hole as a line: its m numbers increasing, blank-separated.
std::string holeText(const Column& hole, int m);

// Writes every hole of "t se m" to a CSV file (header "n1;...;nm", numbers separated by ";"),
// streamed through the program's safe write; returns how many were written. A file that
// cannot be written, or a cancelled run, fails with an Italian message and leaves the file
// already there as it was. progress follows the enumeration, not the holes written, so it
// moves even where holes are few.
Expected<std::uint64_t> exportHolesCsv(const std::filesystem::path& file,
                                       std::span<const int> marked, std::span<const Column> finals,
                                       int t, int m, RunControl* control = nullptr,
                                       const GuaranteeProgress& progress = {});

inline constexpr const char* csvWriteErrorMessage =
    "Impossibile scrivere il file specificato!\rCorreggere e riprovare.";
inline constexpr const char* interruptedMessage = "Elaborazione interrotta.";

} // namespace quintor

#pragma once

// The walk-forward test of a way of choosing columns: at each of the newest draws of the
// archive the columns are chosen again from the draws before it alone, played on that draw,
// and set against many sets of random columns of the same size taken from the same marked
// numbers under the same filters. The question it answers is the player's: would the method
// have done better than chance?

#include "core/archive.h"
#include "core/backtest.h"
#include "core/column.h"
#include "core/column_filters.h"
#include "core/expected.h"
#include "core/random.h"
#include "core/run_control.h"
#include "core/selection.h"
#include "core/system_state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quintor {

inline constexpr std::size_t defaultWalkForwardDraws = 200;
inline constexpr int defaultRandomSets = 1000;
inline constexpr int maxRandomSets = 100000;
// Past this share the method is said to have done no better than chance.
inline constexpr double chanceThreshold = 0.05;

inline constexpr const char* walkForwardNoDrawsMessage =
    "Il numero di estrazioni da provare deve essere almeno 1.\rCorreggere e riprovare.";
inline constexpr const char* walkForwardRandomSetsMessage =
    "Il numero di sistemi casuali deve essere compreso tra 1 e 100000.\rCorreggere e riprovare.";
inline constexpr const char* walkForwardFiltersMessage =
    "I filtri lasciano troppo poche colonne per estrarre sistemi casuali della stessa "
    "grandezza.\rAllargare i filtri o ridurre il numero di colonne.";

// The archive must hold minimumDraws draws before the oldest one tested.
std::string walkForwardArchiveMessage(std::size_t archiveDraws, std::size_t tested);

struct WalkForwardSettings {
    std::int64_t count = 0;                      // columns chosen at each draw
    int precision = 0;                           // the selection's precision/speed position
    std::size_t draws = defaultWalkForwardDraws; // how many of the newest draws are tested
    int randomSets = defaultRandomSets;          // random sets per draw
    std::uint32_t seed = 1;                      // the random sets are replayable from it
    PrizeTable prizes = PrizeTable::defaults();
    long double columnPrice = 800;
    int threads = 0; // for the random sets; 0: one a core
};

// How the method chooses its columns from what was known before a draw. The program's method
// is selectColumns; tests put a method of known behaviour in its place.
using ColumnChooser = std::function<Expected<SelectionResult>(const SelectionRequest&, RunControl*,
                                                              const SelectionProgress&)>;

// One tested draw.
struct WalkForwardDraw {
    std::size_t record = 0;  // index in the archive
    std::size_t columns = 0; // played by the method, and by every random set
    std::array<std::uint32_t, winningLevelCount> method{}; // its columns with 3, 4, 5, 5+, 6
    long double methodWon = 0;
    std::array<double, winningLevelCount> randomMean{}; // the random sets' mean on this draw
    long double randomWonMean = 0;
    // Lire won from the first tested draw up to this one: by the method, and the random
    // sets' 5th percentile, mean and 95th percentile.
    long double methodWonSoFar = 0;
    long double randomWonLow = 0, randomWonMeanSoFar = 0, randomWonHigh = 0;
};

// One figure of the method over all tested draws, against the same figure of each random set.
struct ChanceComparison {
    long double method = 0;
    long double randomMean = 0;
    long double randomSpread = 0; // standard deviation over the random sets
    int atLeastAsGood = 0;        // random sets whose figure is at least the method's
    double pValue = 1;            // their share: one-sided, by permutation
};

struct WalkForwardResult {
    std::vector<WalkForwardDraw> draws; // oldest first; only the finished ones when stopped
    std::array<ChanceComparison, winningLevelCount> levels{}; // winning columns, 3 .. 6
    ChanceComparison won;                                     // lire won
    long double spent = 0; // by the method, and the same by every random set
    int randomSets = 0;
    bool stopped = false;
};

// Share of the work done, 0..1, from the run's own thread.
using WalkForwardProgress = std::function<void(double done)>;

// Runs the test of the system's marked numbers, weights, fixed numbers and filters over the
// newest settings.draws draws of the archive. Before each draw the method sees the archive
// as it then was: its scores, statistics and archive filters read the earlier draws only.
// Refuses settings or an archive that cannot make a run, with an Italian message. A stop
// keeps the draws finished so far, summed up as a whole run.
Expected<WalkForwardResult> walkForward(const SystemState& system, const Archive& archive,
                                        const WalkForwardSettings& settings,
                                        RunControl* control = nullptr,
                                        const WalkForwardProgress& progress = {},
                                        const ColumnChooser& chooser = selectColumns);

// The request the method gets before the draw at index `record`: the system's selection
// request over the archive's draws 0..record-1, newest first, and filters built on them.
// newestFirst is the whole archive newest first; the request points into it.
SelectionRequest requestBeforeDraw(const SystemState& system, std::span<const Column> newestFirst,
                                   std::size_t record, const WalkForwardSettings& settings,
                                   std::shared_ptr<const FilterCheck>& filter);

// Random columns of six marked numbers holding every fixed number, that pass the filter, all
// different, in increasing order of their numbers: the chance the method is set against.
class RandomColumnSampler {
public:
    // Sets of count columns; filter, when given, outlives the sampler.
    RandomColumnSampler(std::span<const int> marked, std::span<const int> fixed,
                        const FilterCheck* filter, std::size_t count);
    // A set into out (replaced); false when fewer than count such columns can be found.
    bool draw(RandomGenerator& random, std::vector<Column>& out) const;

private:
    Column randomColumn(RandomGenerator& random) const;
    bool passes(const Column& column) const;
    void listPassing();

    std::vector<int> free_;  // marked numbers that are not fixed
    std::vector<int> fixed_; // fixed numbers, each once
    const FilterCheck* filter_ = nullptr;
    std::size_t count_ = 0;
    bool possible_ = true;
    bool listed_ = false; // too few pass to find them by trying: all are listed
    std::vector<Column> passing_;
};

// The one sentence that says what the figures mean, never more than they show.
std::string walkForwardVerdict(const WalkForwardResult& result);

// The summary lines the window and the command line show, one a level, then the money.
std::vector<std::string> walkForwardSummaryLines(const WalkForwardResult& result);

// One tested draw in a line: "DATE n3 n4 n5 n5+ n6 WON r3 r4 r5 r5+ r6 RWON", the method's
// winning columns and lire won, then the random sets' means (three decimals, lire whole).
std::string walkForwardDrawLine(const WalkForwardDraw& draw, const Archive& archive);

// The per-draw rows as CSV ("data;colonne;3;4;5;5+;6;vinto;..."), one line a tested draw.
std::string walkForwardCsv(const WalkForwardResult& result, const Archive& archive);
// The same saved to file through replaceFileContents.
bool exportWalkForwardCsv(const std::filesystem::path& file, const WalkForwardResult& result,
                          const Archive& archive);

} // namespace quintor

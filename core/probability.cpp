#include "core/probability.h"

#include "core/match_bits.h"
#include "core/rounding.h"

#include <bit>
#include <charconv>
#include <vector>

namespace quintor {

namespace {

using match_bits::addBit;
using match_bits::Counts3;
using match_bits::holds;
using match_bits::insert;
using match_bits::NumberSet;
using match_bits::Word;

class BestMatchEngine {
public:
    BestMatchEngine(std::span<const int> marked, std::span<const Column> finals)
        : marked_(marked.begin(), marked.end()), n_(static_cast<int>(marked.size())),
          finalCount_(finals.size()), words_((finals.size() + 63) / 64) {
        columnNumbers_.resize(words_ * 64);
        for (std::size_t j = 0; j < finals.size(); ++j)
            for (std::uint8_t number : finals[j])
                if (isBoardNumber(number))
                    insert(columnNumbers_[j], number);

        members_.assign(static_cast<std::size_t>(n_) * words_, 0);
        for (int p = 0; p < n_; ++p)
            for (std::size_t j = 0; j < finalCount_; ++j)
                if (holds(columnNumbers_[j], marked_[static_cast<std::size_t>(p)]))
                    members_[static_cast<std::size_t>(p) * words_ + j / 64] |= Word{1} << (j % 64);

        present_.assign(words_, ~Word{0});
        if (finalCount_ % 64 != 0)
            present_.back() = (Word{1} << (finalCount_ % 64)) - 1;
        wordUnion_.assign(words_, NumberSet{});
        for (std::size_t j = 0; j < finalCount_; ++j)
            for (std::size_t h = 0; h < 2; ++h)
                wordUnion_[j / 64][h] |= columnNumbers_[j][h];

        suffix_.assign(static_cast<std::size_t>(n_) + 1, NumberSet{});
        for (int p = n_ - 1; p >= 0; --p) {
            suffix_[static_cast<std::size_t>(p)] = suffix_[static_cast<std::size_t>(p) + 1];
            insert(suffix_[static_cast<std::size_t>(p)], marked_[static_cast<std::size_t>(p)]);
        }

        for (auto& level : levels_)
            level.assign(words_, Counts3{});
        sixth_.assign(words_, Counts3{});
        candidates_.assign(words_, 0);
    }

    BestMatchCounts run(RunControl* control, const BestMatchProgress& progress) {
        control_ = control;
        progress_ = &progress;
        stopped_ = false;
        counts_ = {};
        if (n_ >= 6)
            descend(0, 0);
        if (progress)
            progress(counts_);
        return counts_;
    }

private:
    const Word* membersOf(int position) const {
        return members_.data() + static_cast<std::size_t>(position) * words_;
    }

    // Fills levels_[depth + 1] for every choice of the (depth + 1)-th number, depth 0..3.
    void descend(int depth, int first) {
        const auto& from = levels_[static_cast<std::size_t>(depth)];
        auto& to = levels_[static_cast<std::size_t>(depth) + 1];
        // leave room for the remaining 5 - depth numbers
        for (int p = first; p <= n_ - (6 - depth) && !stopped_; ++p) {
            const Word* bits = membersOf(p);
            for (std::size_t w = 0; w < words_; ++w)
                to[w] = addBit(from[w], bits[w]);
            if (depth == 3)
                lastTwo(p + 1);
            else
                descend(depth + 1, p + 1);
        }
    }

    // Four numbers fixed: choose the fifth, then count every sixth at once. The best match
    // with the sixth number x is the best match M of the five-number prefix, plus one exactly
    // when x lies in a final column that reaches M.
    void lastTwo(int first) {
        const auto& four = levels_[4];
        for (int p = first; p <= n_ - 2; ++p) {
            const Word* bits = membersOf(p);
            Word any = 0;
            for (std::size_t w = 0; w < words_; ++w) {
                sixth_[w] = addBit(four[w], bits[w]);
                any |= sixth_[w].b2;
            }
            int best = 0;
            for (std::size_t w = 0; w < words_; ++w)
                candidates_[w] = any ? sixth_[w].b2 : present_[w];
            if (any)
                best = 4;
            narrow(&Counts3::b1, 2, best);
            narrow(&Counts3::b0, 1, best);

            const NumberSet& rest = suffix_[static_cast<std::size_t>(p) + 1];
            const NumberSet reach = unionOfCandidates(rest);
            const auto raised = static_cast<std::uint64_t>(std::popcount(reach[0] & rest[0]) +
                                                           std::popcount(reach[1] & rest[1]));
            const auto sixths = static_cast<std::uint64_t>(n_ - 1 - p);
            counts_.best[static_cast<std::size_t>(best) + 1] += raised;
            counts_.best[static_cast<std::size_t>(best)] += sixths - raised;
            counts_.examined += sixths;

            if ((++ticks_ & 63u) == 0 && !checkpoint()) {
                stopped_ = true;
                return;
            }
        }
    }

    void narrow(Word Counts3::*plane, int weight, int& best) {
        Word any = 0;
        for (std::size_t w = 0; w < words_; ++w)
            any |= candidates_[w] & (sixth_[w].*plane);
        if (!any)
            return;
        for (std::size_t w = 0; w < words_; ++w)
            candidates_[w] &= sixth_[w].*plane;
        best += weight;
    }

    NumberSet unionOfCandidates(const NumberSet& wanted) const {
        NumberSet reach{};
        auto complete = [&] {
            return (reach[0] & wanted[0]) == wanted[0] && (reach[1] & wanted[1]) == wanted[1];
        };
        for (std::size_t w = 0; w < words_ && !complete(); ++w) {
            Word c = candidates_[w];
            if (c == present_[w]) {
                reach[0] |= wordUnion_[w][0];
                reach[1] |= wordUnion_[w][1];
                continue;
            }
            while (c) {
                const auto j = w * 64 + static_cast<std::size_t>(std::countr_zero(c));
                reach[0] |= columnNumbers_[j][0];
                reach[1] |= columnNumbers_[j][1];
                c &= c - 1;
            }
        }
        return reach;
    }

    bool checkpoint() {
        if (*progress_)
            (*progress_)(counts_);
        return control_ == nullptr || control_->checkpoint();
    }

    std::vector<int> marked_;
    int n_;
    std::size_t finalCount_;
    std::size_t words_;
    std::vector<NumberSet> columnNumbers_; // padded to a whole number of words
    std::vector<Word> members_;            // [position][word]: final columns holding it
    std::vector<Word> present_;            // the real final columns of each word
    std::vector<NumberSet> wordUnion_;     // numbers of all final columns of a word
    std::vector<NumberSet> suffix_;        // marked numbers from a position on
    std::array<std::vector<Counts3>, 5> levels_;
    std::vector<Counts3> sixth_;
    std::vector<Word> candidates_;

    RunControl* control_ = nullptr;
    const BestMatchProgress* progress_ = nullptr;
    bool stopped_ = false;
    std::uint64_t ticks_ = 0;
    BestMatchCounts counts_;
};

} // namespace

BestMatchCounts countBestMatches(std::span<const int> marked, std::span<const Column> finals,
                                 RunControl* control, const BestMatchProgress& progress) {
    BestMatchEngine engine(marked, finals);
    return engine.run(control, progress);
}

std::string percentText(long double value) {
    // std::to_chars ignores the process locale, which a desktop program sets from the user's.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    while (text.size() < 2)
        text.insert(text.begin(), ' ');
    return text + " %";
}

ProbabilityTexts probabilityTexts(const BestMatchCounts& counts, long double initialColumns) {
    ProbabilityTexts texts;
    if (initialColumns <= 0) {
        for (auto& level : texts.levels)
            level = percentText(0);
        texts.total = percentText(0);
        texts.projected = "0 %";
        return texts;
    }
    const auto share = [&](std::uint64_t count) {
        return static_cast<long double>(count) / initialColumns * 100.0L;
    };
    for (std::size_t m = 3; m <= 6; ++m)
        texts.levels[m - 3] = percentText(share(counts.best[m]));
    const long double total = share(counts.winning());
    texts.total = percentText(total);
    const long double done = 100.0L * static_cast<long double>(counts.examined) / initialColumns;
    texts.projected = done <= 0.001L ? std::string("0 %") : percentText(100.0L / done * total);
    return texts;
}

int probabilityGauge(std::uint64_t examined, long double initialColumns) {
    if (initialColumns <= 0)
        return 100;
    const long long position =
        roundHalfEven(100.0L * static_cast<long double>(examined) / initialColumns);
    return static_cast<int>(position < 0 ? 0 : position > 100 ? 100 : position);
}

} // namespace quintor

#include "core/probability.h"

#include "core/rounding.h"

#include <charconv>

namespace quintor {

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

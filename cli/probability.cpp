#include "cli/commands.h"
#include "cli/statistics_commands.h"

#include "core/combinatorics.h"
#include "core/probability.h"
#include "core/system_file.h"

#include <iostream>

namespace quintor::cli {

bool loadSystemFile(const std::string& path, SystemState& state) {
    return readSystemFile(path, state);
}

int runProbability(const Arguments& args) {
    if (!positionalArguments(args, {}) || args.size() != 1)
        return usage("probability FILE.qtr");
    SystemState state;
    if (!loadSystemFile(args[0], state))
        return refuse(unreadableSystemMessage);
    if (state.finalColumns.empty())
        return refuse(noFinalColumnsMessage);

    const std::vector<int> marked = state.markedNumbers();
    const BestMatchCounts counts = countBestMatches(marked, state.finalColumns);
    const auto texts =
        probabilityTexts(counts, initialColumnCount(static_cast<int>(marked.size())));
    for (int m = 3; m <= 6; ++m)
        std::cout << "Probabilità di realizzare " << m
                  << " punti: " << texts.levels[static_cast<std::size_t>(m - 3)] << '\n';
    std::cout << "Probabilità totale di vincita: " << texts.total << '\n';
    return ok;
}

} // namespace quintor::cli

#include "cli/commands.h"
#include "cli/statistics_commands.h"

#include "core/comparison.h"

#include <iostream>

namespace quintor::cli {

int runCompare(const Arguments& args) {
    const std::string* winning = optionValue(args, "--winning");
    const auto positional = positionalArguments(args, {"--winning"});
    if (!positional || positional->size() != 1 || args.size() != 3 || winning == nullptr ||
        args[0] == "--winning")
        return usage("compare FILE.qtr --winning \"TESTO\"");
    SystemState state;
    if (!loadSystemFile(args[0], state))
        return refuse(unreadableSystemMessage);
    if (state.finalColumns.empty())
        return refuse(noFinalColumnsMessage);

    const ComparisonResult result =
        compareWithWinning(parseTypedColumn(*winning).column, state.finalColumns);
    std::cout << "Punti: 0 1 2 3 4 5 6\n";
    std::cout << "Nº colonne:";
    for (std::size_t counter : result.counters)
        std::cout << ' ' << counter;
    std::cout << '\n';
    for (const std::string& line : result.lines)
        std::cout << line << '\n';
    if (result.jollyWarning)
        std::cout << jollyWarningText << '\n';
    return ok;
}

int runDistribution(const Arguments& args) {
    if (!positionalArguments(args, {}) || args.size() != 1)
        return usage("distribution FILE.qtr");
    SystemState state;
    if (!loadSystemFile(args[0], state))
        return refuse(unreadableSystemMessage);
    if (state.finalColumns.empty())
        return refuse(noFinalColumnsMessage);
    const auto counts = distributionCounts(state.finalColumns);
    for (std::size_t n = 1; n <= 90; ++n)
        std::cout << n << ' ' << counts[n] << '\n';
    return ok;
}

} // namespace quintor::cli

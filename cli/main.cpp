#include "cli/commands.h"

#include <iostream>
#include <string_view>

namespace {

struct Command {
    std::string_view name;
    int (*run)(const quintor::cli::Arguments&);
};

constexpr Command commands[] = {
    {"show", quintor::cli::runShow},
    {"select", quintor::cli::runSelect},
    {"archive", quintor::cli::runArchive},
    {"merge", quintor::cli::runMerge},
    {"sample-archive", quintor::cli::runSampleArchive},
    {"probability", quintor::cli::runProbability},
    {"compare", quintor::cli::runCompare},
    {"distribution", quintor::cli::runDistribution},
    {"rank", quintor::cli::runRank},
    {"slips", quintor::cli::runSlips},
    {"guarantee", quintor::cli::runGuarantee},
    {"repair", quintor::cli::runRepair},
    {"backtest", quintor::cli::runBacktest},
    {"walkforward", quintor::cli::runWalkForward},
    {"print", quintor::cli::runPrint},
    {"filter", quintor::cli::runFilter},
    {"export", quintor::cli::runExport},
    {"import", quintor::cli::runImport},
};

int printUsage() {
    std::cerr << "uso: quintor-cli COMANDO [ARGOMENTI]\ncomandi:";
    for (const auto& command : commands)
        std::cerr << ' ' << command.name;
    std::cerr << '\n';
    return quintor::cli::usageError;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return printUsage();
    const std::string_view name = argv[1];
    quintor::cli::Arguments args(argv + 2, argv + argc);
    for (const auto& command : commands)
        if (command.name == name)
            return quintor::cli::finishOutput(command.run(args));
    return printUsage();
}

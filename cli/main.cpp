#include "cli/command_help.h"
#include "cli/commands.h"

#include <algorithm>
#include <csignal>
#include <exception>
#include <iostream>
#include <new>
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
    std::cerr << "\nPer la spiegazione dei comandi: quintor-cli --help\n";
    return quintor::cli::usageError;
}

bool asksForHelp(std::string_view word) {
    return word == "--help" || word == "-h";
}

// A command that runs out of memory or fails in any other unforeseen way ends with a message
// and the refusal status; the files it was writing are left as they were.
int runCommand(const Command& command, const quintor::cli::Arguments& args) {
    try {
        return command.run(args);
    } catch (const std::bad_alloc&) {
        return quintor::cli::refuse(quintor::cli::outOfMemoryMessage);
    } catch (const std::exception&) {
        return quintor::cli::refuse(quintor::cli::unexpectedFailureMessage);
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace quintor::cli;
    // Past the file size limit a write fails and the save reports it, leaving no temporary
    // file behind; the signal would end the program half-way through the save instead.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2)
        return printUsage();
    const std::string_view name = argv[1];
    if (asksForHelp(name)) {
        printProgramHelp(std::cout);
        return finishOutput(ok);
    }
    if (name == "--version") {
        printVersion(std::cout);
        return finishOutput(ok);
    }
    Arguments args(argv + 2, argv + argc);
    for (const auto& command : commands) {
        if (command.name != name)
            continue;
        // "--help" anywhere after the command: no option of any command takes it as a value.
        if (const CommandHelp* help = findCommandHelp(name);
            help && std::find(args.begin(), args.end(), "--help") != args.end()) {
            printCommandHelp(std::cout, *help);
            return finishOutput(ok);
        }
        return finishOutput(runCommand(command, args));
    }
    return printUsage();
}

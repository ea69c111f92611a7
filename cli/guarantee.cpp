#include "cli/commands.h"
#include "cli/statistics_commands.h"
#include "cli/system_update.h"

#include "core/archive.h"
#include "core/backtest.h"
#include "core/column_price.h"
#include "core/conversions.h"
#include "core/guarantee.h"
#include "core/money.h"
#include "core/repair.h"
#include "core/scoring.h"
#include "core/selection.h"
#include "core/system_file.h"

#include <cstdio>
#include <iostream>
#include <optional>

namespace quintor::cli {

namespace {

// The newest draws of the archive an option names (none without it), or nothing once the
// archive's refusal is printed.
std::optional<std::vector<Column>> newestDraws(const std::string* archiveFile) {
    if (!archiveFile)
        return std::vector<Column>{};
    const auto archive = Archive::read(*archiveFile);
    if (!archive) {
        refuse(archive.error());
        return std::nullopt;
    }
    return archive->newestFirst(snapshotLimit);
}

bool validGuarantee(int t, int m) {
    return m >= smallestDrawnCount && m <= largestDrawnCount && t >= smallestGuaranteedPoints &&
           t <= m;
}

// One line for each m and t: m, t, the m-sets covered in t numbers, all m-sets, the percentage.
void printGuaranteeTable(const GuaranteeTable& table) {
    for (int m = smallestDrawnCount; m <= largestDrawnCount && m <= table.markedCount; ++m) {
        for (int t = smallestGuaranteedPoints; t <= m; ++t) {
            char percent[32];
            std::snprintf(percent, sizeof percent, "%.2f", table.percent(m, t));
            std::cout << m << ' ' << t << ' ' << table.covered(m, t) << ' ' << table.total(m) << ' '
                      << percent << '\n';
        }
    }
}

// The count of holes, then the holes themselves, at most limit of them.
void printHoles(const std::vector<int>& marked, const std::vector<Column>& finals, int t, int m,
                std::optional<std::uint64_t> limit) {
    std::array<std::uint64_t, 7> best{};
    countBestMatchesOfSize(marked, finals, m, best);
    std::uint64_t count = 0;
    for (int b = 0; b < t; ++b)
        count += best[static_cast<std::size_t>(b)];
    std::cout << "buchi: " << count << '\n';
    std::uint64_t wanted = limit ? std::min(*limit, count) : count;
    HoleCursor cursor(marked, finals, t, m);
    std::vector<Column> batch;
    while (wanted > 0) {
        batch.clear();
        const bool more =
            cursor.next(batch, static_cast<std::size_t>(std::min<std::uint64_t>(wanted, 4096)));
        for (const Column& hole : batch)
            std::cout << holeText(hole, m) << '\n';
        wanted -= std::min<std::uint64_t>(wanted, batch.size());
        if (!more)
            break;
    }
}

} // namespace

int runGuarantee(const Arguments& args) {
    const char* usageText = "guarantee FILE.qtr [--holes T M [--limit K]]";
    if (args.empty() || args[0].starts_with("--"))
        return usage(usageText);
    const bool holes = hasFlag(args, "--holes");
    const auto choice = guaranteeAfter(args, "--holes");
    const std::string* limitText = optionValue(args, "--limit");
    // "--holes T M" leaves T and M among the positional words.
    const auto positional = positionalArguments(args, {"--limit"}, {"--holes"});
    if (!positional || positional->size() != (holes ? 3u : 1u) || (holes && !choice) ||
        (limitText && !holes))
        return usage(usageText);
    std::optional<std::uint64_t> limit;
    if (limitText) {
        const auto value = parseInteger(*limitText);
        if (!value || *value < 0)
            return usage(usageText);
        limit = static_cast<std::uint64_t>(*value);
    }

    SystemState system;
    if (!loadSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    if (system.finalColumns.empty())
        return refuse(noFinalColumnsMessage);
    const std::vector<int> marked = system.markedNumbers();

    if (!holes) {
        printGuaranteeTable(guaranteeTable(marked, system.finalColumns));
        return ok;
    }

    const auto [t, m] = *choice;
    if (!validGuarantee(t, m))
        return refuse(guaranteeChoiceMessage);
    printHoles(marked, system.finalColumns, t, m, limit);
    return ok;
}

int runRepair(const Arguments& args) {
    const char* usageText = "repair FILE.qtr --guarantee T M --budget N [--fixed N,N,...] "
                            "[--archive A.dat] [--out OUT.qtr]";
    const auto choice = guaranteeAfter(args, "--guarantee");
    const std::string* budgetText = optionValue(args, "--budget");
    const std::string* fixedText = optionValue(args, "--fixed");
    const std::string* archiveFile = optionValue(args, "--archive");
    const std::string* outFile = optionValue(args, "--out");
    const auto positional =
        positionalArguments(args, {"--budget", "--fixed", "--archive", "--out"}, {"--guarantee"});
    if (!positional || positional->size() != 3 || args.empty() || args[0].starts_with("--") ||
        !choice || !budgetText)
        return usage(usageText);

    // The archive is read once, after the system, whatever the number of runs.
    std::optional<std::vector<Column>> draws;
    std::optional<RepairResult> result;
    bool withFixed = false;
    const int status =
        updateSystemFile(args[0], outFile ? *outFile : args[0], [&](SystemState& system) {
            const auto [t, m] = *choice;
            if (!validGuarantee(t, m))
                return refuse(guaranteeChoiceMessage);
            const auto budget = repairBudget(*budgetText);
            if (!budget)
                return refuse(budget.error());
            if (system.markedCount() < 6)
                return refuse(fewMarksMessage);
            std::optional<std::vector<int>> fixed;
            if (fixedText) {
                auto parsed = repairFixedNumbers(*fixedText, system.markedNumbers());
                if (!parsed)
                    return refuse(parsed.error());
                fixed = std::move(*parsed);
            }
            if (!draws && !(draws = newestDraws(archiveFile)))
                return static_cast<int>(refused);
            const RepairRequest request = repairRequest(system, *draws, t, m, *budget, fixed);
            auto repaired = repairGuarantee(request);
            if (!repaired)
                return refuse(repaired.error());
            system.finalColumns.insert(system.finalColumns.end(), repaired->added.begin(),
                                       repaired->added.end());
            result = std::move(repaired.value());
            withFixed = !request.fixed.empty();
            return static_cast<int>(ok);
        });
    if (status != ok)
        return status;
    for (const Column& column : result->added)
        std::cout << formatColumn(column) << '\n';
    std::cout << "aggiunte: " << result->added.size() << ", coperte: " << result->covered << '/'
              << result->total << '\n';
    if (withFixed)
        std::cout << "con le fisse: " << result->coveredHoldingFixed << '/'
                  << result->totalHoldingFixed << '\n';
    return ok;
}

int runBacktest(const Arguments& args) {
    const char* usageText = "backtest FILE.qtr --archive A.dat [--from DD/MM/YYYY] [--to "
                            "DD/MM/YYYY] [--prizes P3,P4,P5,P5J,P6] [--price P]";
    const std::string* archiveFile = optionValue(args, "--archive");
    const std::string* fromText = optionValue(args, "--from");
    const std::string* toText = optionValue(args, "--to");
    const std::string* prizesText = optionValue(args, "--prizes");
    const std::string* priceText = optionValue(args, "--price");
    const auto positional =
        positionalArguments(args, {"--archive", "--from", "--to", "--prizes", "--price"});
    if (!positional || positional->size() != 1 || args[0].starts_with("--") || !archiveFile)
        return usage(usageText);

    SystemState system;
    if (!loadSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    if (system.finalColumns.empty())
        return refuse(noFinalColumnsMessage);
    const auto archive = Archive::read(*archiveFile);
    if (!archive)
        return refuse(archive.error());
    const auto draws = drawsInRange(*archive, fromText ? *fromText : "", toText ? *toText : "");
    if (!draws)
        return refuse(draws.error());
    std::optional<PrizeTable> prizes;
    if (prizesText) {
        const auto parsed = PrizeTable::parse(*prizesText);
        if (!parsed)
            return refuse(parsed.error());
        prizes = *parsed;
    }
    long double price = 800;
    if (priceText) {
        // The window's own price field, with its bounds: what the column price can hold.
        const auto parsed = parseColumnPrice(*priceText);
        if (!parsed)
            return refuse(parsed.error());
        price = parsed->value();
    }

    const BacktestResult result = backtest(system.finalColumns, *draws);
    std::cout << "estrazioni: " << result.draws.size() << '\n';
    std::cout << "migliore:";
    for (std::uint64_t count : result.byBest)
        std::cout << ' ' << count;
    std::cout << "\nvincenti:";
    for (std::uint64_t count : result.winners)
        std::cout << ' ' << count;
    std::cout << "\nsenza 3: " << result.longestWithoutThree << '\n';
    for (const BacktestDraw& draw : result.draws) {
        if (draw.best < 4)
            continue;
        std::cout << (*draws)[draw.record].date << ' ' << drawLevelText(draw.best);
        for (std::uint32_t count : draw.winners)
            std::cout << ' ' << count;
        std::cout << '\n';
    }
    if (prizes) {
        const long double cost = static_cast<long double>(system.finalColumns.size()) * price *
                                 static_cast<long double>(result.draws.size());
        std::cout << "costo: " << moneyText(cost) << " £\n";
        std::cout << "vinto: " << moneyText(prizes->won(result.winners)) << " £\n";
    }
    return ok;
}

} // namespace quintor::cli

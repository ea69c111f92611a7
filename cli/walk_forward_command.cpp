#include "cli/commands.h"

#include "core/archive.h"
#include "core/conversions.h"
#include "core/print_settings.h"
#include "core/program_folder.h"
#include "core/system_file.h"
#include "core/walk_forward.h"

#include <iostream>

namespace quintor::cli {

namespace {

inline constexpr const char* noCountMessage =
    "Il sistema non contiene colonne finali: indicare quante colonne scegliere con --count.";

// A whole number in low..high from an option, or nothing when it is absent; false when bad.
bool readWhole(const std::string* text, long long low, long long high, long long& value) {
    if (!text)
        return true;
    const auto parsed = parseReal(*text);
    if (!parsed || *parsed != static_cast<long double>(static_cast<long long>(*parsed)) ||
        *parsed < low || *parsed > high)
        return false;
    value = static_cast<long long>(*parsed);
    return true;
}

} // namespace

int runWalkForward(const Arguments& args) {
    const char* usageText =
        "walkforward FILE.qtr --archive A.dat [--draws N] [--random R] [--seed S] [--count V] "
        "[--precision P] [--prizes P3,P4,P5,P5J,P6] [--price P]";
    const std::string* archiveFile = optionValue(args, "--archive");
    const auto positional =
        positionalArguments(args, {"--archive", "--draws", "--random", "--seed", "--count",
                                   "--precision", "--prizes", "--price"});
    if (!positional || positional->size() != 1 || args[0].starts_with("--") || !archiveFile)
        return usage(usageText);
    WalkForwardSettings settings;
    long long draws = defaultWalkForwardDraws, sets = defaultRandomSets, seed = settings.seed;
    long long count = 0, precision = 0;
    if (!readWhole(optionValue(args, "--draws"), 1, static_cast<long long>(maxArchiveDraws),
                   draws) ||
        !readWhole(optionValue(args, "--random"), 1, maxRandomSets, sets) ||
        !readWhole(optionValue(args, "--seed"), 0, 4294967295LL, seed) ||
        !readWhole(optionValue(args, "--count"), 1, 2147483647LL, count) ||
        !readWhole(optionValue(args, "--precision"), 0, precisionSteps, precision))
        return usage(usageText);

    SystemState system;
    if (!readSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    const auto archive = Archive::read(*archiveFile);
    if (!archive)
        return refuse(archive.error());
    settings.prizes = PrizeTable::load(programFolder());
    if (const std::string* prizesText = optionValue(args, "--prizes")) {
        const auto parsed = PrizeTable::parse(*prizesText);
        if (!parsed)
            return refuse(parsed.error());
        settings.prizes = *parsed;
    }
    settings.columnPrice = loadPrintSettings(programFolder()).columnPrice.value();
    if (const std::string* priceText = optionValue(args, "--price")) {
        const auto parsed = parseReal(*priceText);
        if (!parsed)
            return refuse(parsed.error());
        if (*parsed < 0)
            return refuse(invalidRealMessage(*priceText));
        settings.columnPrice = *parsed;
    }
    if (count == 0 && system.finalColumns.empty())
        return refuse(noCountMessage);
    settings.count = count ? count : static_cast<std::int64_t>(system.finalColumns.size());
    settings.precision = static_cast<int>(precision);
    settings.draws = static_cast<std::size_t>(draws);
    settings.randomSets = static_cast<int>(sets);
    settings.seed = static_cast<std::uint32_t>(seed);

    const auto result = walkForward(system, *archive, settings);
    if (!result)
        return refuse(result.error());
    for (const WalkForwardDraw& draw : result->draws)
        std::cout << walkForwardDrawLine(draw, *archive) << '\n';
    std::cout << "estrazioni: " << result->draws.size() << '\n';
    std::cout << "sistemi casuali: " << result->randomSets << ", seme: " << settings.seed << '\n';
    for (const std::string& line : walkForwardSummaryLines(*result))
        std::cout << line << '\n';
    std::cout << walkForwardVerdict(*result) << '\n';
    return ok;
}

} // namespace quintor::cli

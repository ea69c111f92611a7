#include "cli/commands.h"

#include "core/archive.h"
#include "core/number_statistics.h"

#include <charconv>
#include <iostream>

namespace quintor::cli {

namespace {

std::string scoreText(long double score) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(score),
                                      std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

} // namespace

int runRank(const Arguments& args) {
    const std::string* archivePath = optionValue(args, "--archive");
    const bool adding = hasFlag(args, "--add");
    const bool removing = hasFlag(args, "--remove");
    const auto positional =
        positionalArguments(args, {"--archive"}, {"--add", "--remove", "--ritardi", "--frequenze"});
    if (!positional || !positional->empty() || archivePath == nullptr || adding == removing)
        return usage("rank --archive ARCHIVE.dat (--add | --remove) [--ritardi] [--frequenze]");

    StatisticsCriteria criteria;
    criteria.delays = hasFlag(args, "--ritardi");
    criteria.frequencies = hasFlag(args, "--frequenze");
    if (!criteria.delays && !criteria.frequencies)
        criteria.delays = true;

    // an archive that cannot be read holds no draws, which is what the message says
    const auto archive = Archive::read(*archivePath);
    if (!archive)
        return refuse(statisticsArchiveMessage);
    const auto ranking = rankFromArchive(*archive, criteria, adding);
    if (!ranking)
        return refuse(ranking.error());
    for (const RankedNumber& entry : ranking.value())
        std::cout << entry.number << ' ' << scoreText(entry.score) << '\n';
    return ok;
}

} // namespace quintor::cli

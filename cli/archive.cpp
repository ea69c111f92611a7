#include "cli/commands.h"

#include "core/archive.h"
#include "core/conversions.h"

#include <charconv>
#include <iostream>
#include <optional>

namespace quintor::cli {

namespace {

void printSummary(const Archive& archive) {
    std::cout << "Colonne vincenti: " << archive.size() << '\n';
    if (archive.empty())
        return;
    const ArchiveRecord& newest = archive[archive.size() - 1];
    std::cout << "Ultimo aggiornamento: ";
    if (newest.day)
        std::cout << weekdayName(std::chrono::year_month_day{*newest.day}) << ' ';
    std::cout << newest.date << '\n';
}

std::optional<unsigned long> parseCount(const std::string& text) {
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

int runArchive(const Arguments& args) {
    const auto positional = positionalArguments(args, {});
    if (!positional || args.size() != 1)
        return usage("archive ARCHIVE.dat");
    auto archive = Archive::read(args[0]);
    if (!archive)
        return refuse(unreadableSystemMessage);
    printSummary(*archive);
    for (const auto& record : archive->records())
        std::cout << record.date << ' ' << record.column << record.jolly << '\n';
    return ok;
}

int runMerge(const Arguments& args) {
    const auto positional = positionalArguments(args, {});
    if (!positional || args.size() != 2)
        return usage("merge ARCHIVE.dat FILE");
    auto read = Archive::read(args[0]);
    if (!read)
        return refuse(unreadableSystemMessage);
    // Saving over a file that is not an archive (the two names swapped, a link to a text
    // file) would replace it with the few records read from it.
    if (read->readFromDamagedFile())
        return refuse(notAnArchiveMessage(args[0]));
    Archive archive = std::move(read.value());
    auto draws = readDrawFile(args[1]);
    if (!draws)
        return refuse(draws.error());
    // Real draws merged into the simulated archive of a first start would be skipped on every
    // date a simulated draw holds: the simulated draws go instead.
    const RealDrawsMerge merged = mergeReplacingSimulated(archive, draws->draws);
    MergeCounts counts = merged.counts;
    counts.rejected += draws->rejected;
    if (counts.added == 0 && counts.present == 0 && counts.rejected > 0) {
        refuse(allDrawsRejectedMessage(counts.rejected));
        return emptyResult;
    }
    auto saved = archive.save(args[0]);
    if (!saved)
        return refuse(saved.error());
    std::cout << "aggiunte: " << counts.added << ", già presenti: " << counts.present
              << ", scartate: " << counts.rejected << '\n';
    printSummary(archive);
    if (merged.simulatedReplaced > 0)
        std::cout << "Estrazioni simulate sostituite: " << merged.simulatedReplaced << '\n';
    return ok;
}

int runSampleArchive(const Arguments& args) {
    const char* usageText = "sample-archive OUT.dat --draws N [--seed S]";
    const auto positional = positionalArguments(args, {"--draws", "--seed"});
    if (!positional || positional->size() != 1 || args[0].starts_with("--"))
        return usage(usageText);
    const std::string* drawsText = optionValue(args, "--draws");
    const std::string* seedText = optionValue(args, "--seed");
    const auto draws = drawsText ? parseCount(*drawsText) : std::nullopt;
    const auto seed = seedText ? parseCount(*seedText) : std::optional<unsigned long>{1};
    if (!draws || *draws == 0 || !seed || *seed > 0xFFFFFFFFul)
        return usage(usageText);
    // Refused before anything is allocated for the draws.
    if (*draws > maxArchiveDraws)
        return refuse("Un archivio può contenere al massimo " + std::to_string(maxArchiveDraws) +
                      " estrazioni.");
    Archive archive = simulatedArchive(*draws, static_cast<std::uint32_t>(*seed));
    auto saved = archive.save(args[0]);
    if (!saved)
        return refuse(saved.error());
    std::cout << "Archivio simulato di " << archive.size() << " estrazioni (non reali): " << args[0]
              << '\n';
    return ok;
}

} // namespace quintor::cli

#include "cli/commands.h"
#include "cli/statistics_commands.h"

#include "core/archive.h"
#include "core/column_csv.h"
#include "core/column_filters.h"
#include "core/system_file.h"

#include <iostream>

namespace quintor::cli {

std::optional<ColumnFilters> readFilterOptions(const Arguments& args, int& status) {
    ColumnFilters filters;
    for (const std::string* filterText : optionValues(args, "--filter")) {
        const auto added = addFilter(filters, *filterText);
        if (!added) {
            status = refuse(added.error());
            return std::nullopt;
        }
    }
    return filters;
}

std::optional<FilterCheck> filterCheckFor(const ColumnFilters& filters,
                                          const std::string* archiveFile, int& status) {
    if (!filters.needsArchive())
        return FilterCheck(filters, {});
    const auto archive = Archive::read(*archiveFile);
    if (!archive) {
        status = refuse(archive.error());
        return std::nullopt;
    }
    return FilterCheck(filters, archive->newestFirst(archive->size()));
}

int runFilter(const Arguments& args) {
    const char* usageText = "filter FILE.qtr --filter FILTRO... [--archive A.dat] [--out OUT.qtr]";
    const std::string* archiveFile = optionValue(args, "--archive");
    const std::string* outFile = optionValue(args, "--out");
    const auto positional = positionalArguments(args, {"--filter", "--archive", "--out"});
    if (!positional || positional->size() != 1 || args[0].starts_with("--") ||
        optionValues(args, "--filter").empty())
        return usage(usageText);
    int status = ok;
    const auto filters = readFilterOptions(args, status);
    if (!filters)
        return status;
    if (filters->needsArchive() && !archiveFile)
        return usage(usageText);
    SystemState system;
    if (!loadSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    const auto check = filterCheckFor(*filters, archiveFile, status);
    if (!check)
        return status;

    std::vector<Column> kept;
    for (const Column& column : system.finalColumns)
        if (check->passes(column))
            kept.push_back(column);
    const std::size_t dropped = system.finalColumns.size() - kept.size();
    system.finalColumns = std::move(kept);
    if (!writeSystemFile(outFile ? *outFile : args[0], system))
        return refuse(systemWriteErrorMessage);
    std::cout << columnsText(system.finalColumns);
    std::cerr << "scartate: " << dropped << '\n';
    return ok;
}

int runExport(const Arguments& args) {
    const bool csv = hasFlag(args, "--csv");
    if (args.size() != (csv ? 2u : 1u) || args[0].starts_with("--"))
        return usage("export FILE.qtr [--csv]");
    SystemState system;
    if (!loadSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    std::cout << (csv ? columnsCsv(system.finalColumns) : columnsText(system.finalColumns));
    return ok;
}

int runImport(const Arguments& args) {
    const std::string* outFile = optionValue(args, "--out");
    if (args.size() != (outFile ? 4u : 2u) || args[0].starts_with("--") ||
        args[1].starts_with("--"))
        return usage("import FILE.qtr COLUMNS.csv [--out OUT.qtr]");
    SystemState system;
    if (!loadSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    const auto file = readColumnFile(args[1]);
    if (!file)
        return refuse(file.error());
    const ColumnImportCounts counts = appendColumnFile(system, *file);
    if (!writeSystemFile(outFile ? *outFile : args[0], system))
        return refuse(systemWriteErrorMessage);
    std::cout << "aggiunte: " << counts.added << ", doppie: " << counts.duplicates
              << ", scartate: " << counts.refused << '\n';
    return ok;
}

} // namespace quintor::cli

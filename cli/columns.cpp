#include "cli/commands.h"
#include "cli/statistics_commands.h"
#include "cli/system_update.h"

#include "core/archive.h"
#include "core/column_csv.h"
#include "core/column_filters.h"
#include "core/system_file.h"

#include <iostream>
#include <optional>

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
    // The filters and the archive they read are the same for every run of the work.
    std::optional<FilterCheck> check;
    std::vector<Column> kept;
    std::size_t dropped = 0;
    status = updateSystemFile(args[0], outFile ? *outFile : args[0], [&](SystemState& system) {
        int refusal = ok;
        if (!check && !(check = filterCheckFor(*filters, archiveFile, refusal)))
            return refusal;
        kept.clear();
        for (const Column& column : system.finalColumns)
            if (check->passes(column))
                kept.push_back(column);
        dropped = system.finalColumns.size() - kept.size();
        // An empty list would throw every column away for good: the file is left as it was,
        // as select does and as the window asks first.
        if (kept.empty()) {
            note(dropped == 0 ? noFinalColumnsMessage : noColumnPassesMessage);
            std::cerr << "scartate: " << dropped << '\n';
            return static_cast<int>(emptyResult);
        }
        system.finalColumns = kept;
        return static_cast<int>(ok);
    });
    if (status != ok)
        return status;
    std::cout << columnsText(kept);
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
    // The columns to add are read once, after the system, whatever the number of runs.
    std::optional<ColumnFile> file;
    ColumnImportCounts counts;
    const int status =
        updateSystemFile(args[0], outFile ? *outFile : args[0], [&](SystemState& system) {
            if (!file) {
                auto read = readColumnFile(args[1]);
                if (!read)
                    return refuse(read.error());
                file = std::move(read.value());
            }
            counts = appendColumnFile(system, *file);
            return static_cast<int>(ok);
        });
    if (status != ok)
        return status;
    std::cout << "aggiunte: " << counts.added << ", doppie: " << counts.duplicates
              << ", scartate: " << counts.refused << '\n';
    return ok;
}

} // namespace quintor::cli

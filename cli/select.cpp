#include "cli/commands.h"

#include "core/archive.h"
#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/selection.h"
#include "core/system_file.h"

#include <iostream>

namespace quintor::cli {

int runSelect(const Arguments& args) {
    const char* usageText =
        "select FILE.qtr --archive ARCHIVE.dat --count V [--precision P] [--filter FILTRO]... "
        "[--out OUT.qtr]";
    const std::string* archiveFile = optionValue(args, "--archive");
    const std::string* countText = optionValue(args, "--count");
    const std::string* precisionText = optionValue(args, "--precision");
    const std::string* outFile = optionValue(args, "--out");
    const auto positional =
        positionalArguments(args, {"--archive", "--count", "--precision", "--out", "--filter"});
    if (!positional || positional->size() != 1 || args[0].starts_with("--") || !archiveFile ||
        !countText)
        return usage(usageText);
    int precision = 0;
    if (precisionText) {
        const auto p = parseInteger(*precisionText);
        if (!p || *p < 0 || *p > precisionSteps)
            return usage(usageText);
        precision = *p;
    }

    int status = ok;
    const auto filters = readFilterOptions(args, status);
    if (!filters)
        return status;

    SystemState system;
    if (!readSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    const auto archive = Archive::read(*archiveFile);
    if (!archive)
        return refuse(archive.error());
    // The same checks, in the same order, as the window's launcher and its count field.
    if (archive->size() < minimumDraws)
        return refuse(fewDrawsMessage);
    if (system.markedCount() < 6)
        return refuse(fewMarksMessage);
    const auto count = requestedCount(*countText, initialColumnCount(system.markedCount()));
    if (!count)
        return refuse(count.error());

    const std::vector<Column> draws = archive->newestFirst(snapshotLimit);
    SelectionRequest request = selectionRequest(system, draws, *count, precision);
    if (!filters->empty()) {
        request.filter =
            std::make_shared<const FilterCheck>(*filters, archive->newestFirst(archive->size()));
        if (!anyColumnPasses(*request.filter, request.marked)) {
            refuse(noColumnPassesMessage);
            return emptyResult;
        }
    }
    const auto result = selectColumns(request);
    if (!result)
        return refuse(result.error());
    if (result->columns.empty()) {
        refuse(allRejectedMessage);
        return emptyResult;
    }
    system.finalColumns = result->columns;
    if (!writeSystemFile(outFile ? *outFile : args[0], system))
        return refuse(systemWriteErrorMessage);
    for (const auto& column : system.finalColumns)
        std::cout << formatColumn(column) << '\n';
    return ok;
}

} // namespace quintor::cli

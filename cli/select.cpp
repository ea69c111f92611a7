#include "cli/commands.h"
#include "cli/system_update.h"

#include "core/archive.h"
#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/selection.h"
#include "core/system_file.h"

#include <iostream>
#include <optional>

namespace quintor::cli {

namespace {

// The selection's work on one read of the system: its final columns become the ones chosen
// (also left in selected), or the refusal is printed and its status returned.
int selectFinalColumns(SystemState& system, const Archive& archive, const std::string& countText,
                       int precision, const ColumnFilters& filters, std::vector<Column>& selected) {
    // The same checks, in the same order, as the window's launcher and its count field.
    if (archive.size() < minimumDraws)
        return refuse(fewDrawsMessage);
    if (system.markedCount() < 6)
        return refuse(fewMarksMessage);
    const auto count = requestedCount(countText, initialColumnCount(system.markedCount()));
    if (!count)
        return refuse(count.error());

    const std::vector<Column> draws = archive.newestFirst(snapshotLimit);
    SelectionRequest request = selectionRequest(system, draws, *count, precision);
    if (!filters.empty()) {
        request.filter =
            std::make_shared<const FilterCheck>(filters, archive.newestFirst(archive.size()));
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
    selected = result->columns;
    return ok;
}

} // namespace

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

    // The archive is read once, after the system, whatever the number of runs.
    std::optional<Archive> archive;
    std::vector<Column> selected;
    status = updateSystemFile(args[0], outFile ? *outFile : args[0], [&](SystemState& system) {
        if (!archive) {
            auto read = Archive::read(*archiveFile);
            if (!read)
                return refuse(read.error());
            archive = std::move(read.value());
        }
        return selectFinalColumns(system, *archive, *countText, precision, *filters, selected);
    });
    if (status != ok)
        return status;
    for (const auto& column : selected)
        std::cout << formatColumn(column) << '\n';
    return ok;
}

} // namespace quintor::cli

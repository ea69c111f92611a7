#include "cli/commands.h"
#include "cli/system_update.h"

#include "core/archive.h"
#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/repair.h"
#include "core/selection.h"
#include "core/selection_guarantee.h"
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

// The target mode: at most a budget of columns that guarantee "t se m"; their coverage is
// left in coverage.
int selectForTarget(SystemState& system, const Archive& archive, const GuaranteeTarget& target,
                    int precision, const ColumnFilters& filters, RepairResult& coverage) {
    if (archive.size() < minimumDraws)
        return refuse(fewDrawsMessage);
    if (system.markedCount() < 6)
        return refuse(fewMarksMessage);
    if (!filters.empty())
        return refuse(guaranteeFiltersMessage);
    const std::vector<Column> draws = archive.newestFirst(snapshotLimit);
    const SelectionRequest request = selectionRequest(system, draws, 0, precision);
    auto result = selectForGuarantee(request, target);
    if (!result)
        return refuse(result.error());
    system.finalColumns = result->added;
    coverage = std::move(result.value());
    return ok;
}

} // namespace

int runSelect(const Arguments& args) {
    const char* usageText =
        "select FILE.qtr --archive ARCHIVE.dat (--count V | --guarantee T M --budget N) "
        "[--precision P] [--filter FILTRO]... [--out OUT.qtr]";
    const std::string* archiveFile = optionValue(args, "--archive");
    const std::string* countText = optionValue(args, "--count");
    const std::string* precisionText = optionValue(args, "--precision");
    const std::string* outFile = optionValue(args, "--out");
    const std::string* budgetText = optionValue(args, "--budget");
    const bool byGuarantee = hasFlag(args, "--guarantee");
    const auto choice = guaranteeAfter(args, "--guarantee");
    // "--guarantee T M" leaves T and M among the positional words.
    const auto positional = positionalArguments(
        args, {"--archive", "--count", "--precision", "--out", "--filter", "--budget"},
        {"--guarantee"});
    if (!positional || positional->size() != (byGuarantee ? 3u : 1u) || args[0].starts_with("--") ||
        !archiveFile ||
        (byGuarantee ? (countText || !choice || !budgetText) : (!countText || budgetText)))
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
    std::optional<RepairResult> coverage;
    bool withFixed = false;
    status = updateSystemFile(args[0], outFile ? *outFile : args[0], [&](SystemState& system) {
        if (!archive) {
            auto read = Archive::read(*archiveFile);
            if (!read)
                return refuse(read.error());
            archive = std::move(read.value());
        }
        if (!byGuarantee)
            return selectFinalColumns(system, *archive, *countText, precision, *filters, selected);
        const auto budget = repairBudget(*budgetText);
        if (!budget)
            return refuse(budget.error());
        coverage.emplace();
        withFixed = system.usableFixedCount() > 0;
        const int done = selectForTarget(system, *archive,
                                         GuaranteeTarget{choice->first, choice->second, *budget},
                                         precision, *filters, *coverage);
        selected = coverage->added;
        return done;
    });
    if (status != ok)
        return status;
    for (const auto& column : selected)
        std::cout << formatColumn(column) << '\n';
    if (coverage) {
        std::cout << "colonne: " << coverage->added.size() << ", coperte: " << coverage->covered
                  << '/' << coverage->total << '\n';
        if (withFixed)
            std::cout << "con le fisse: " << coverage->coveredHoldingFixed << '/'
                      << coverage->totalHoldingFixed << '\n';
    }
    return ok;
}

} // namespace quintor::cli

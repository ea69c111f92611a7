#pragma once

#include "cli/cli_common.h"
#include "core/column_filters.h"

#include <optional>

namespace quintor::cli {

// One function per command; args are the words after the command name.
int runShow(const Arguments& args);
int runArchive(const Arguments& args);
int runMerge(const Arguments& args);
int runSampleArchive(const Arguments& args);
int runProbability(const Arguments& args);
int runCompare(const Arguments& args);
int runDistribution(const Arguments& args);
int runRank(const Arguments& args);
int runSelect(const Arguments& args);
int runSlips(const Arguments& args);
int runGuarantee(const Arguments& args);
int runRepair(const Arguments& args);
int runBacktest(const Arguments& args);
int runWalkForward(const Arguments& args);
int runPrint(const Arguments& args);
int runFilter(const Arguments& args);
int runExport(const Arguments& args);
int runImport(const Arguments& args);

// The filters of the repeated --filter options; on a bad one, status is the refusal's code.
std::optional<ColumnFilters> readFilterOptions(const Arguments& args, int& status);
// The filters ready to check columns, reading the archive when a filter needs it.
std::optional<FilterCheck> filterCheckFor(const ColumnFilters& filters,
                                          const std::string* archiveFile, int& status);

} // namespace quintor::cli

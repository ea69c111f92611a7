#pragma once

#include "cli/cli_common.h"

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
int runPrint(const Arguments& args);

} // namespace quintor::cli

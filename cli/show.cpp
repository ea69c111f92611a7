#include "cli/commands.h"

namespace quintor::cli {

int runShow(const Arguments&) { return usage("show FILE.qtr"); }

} // namespace quintor::cli

#include "core/column_csv.h"
#include "core/number_set.h"
#include "fuzz_input.h"

#include <cstdlib>

// A column file of any content: the columns read are six different numbers 1..90, the
// refused lines are counted and kept only up to the report's room, and the columns exported
// as CSV or as text read back as the same columns with nothing refused. Appending the file
// twice adds nothing the second time.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile("colonne.csv", data, size);
    const auto read = quintor::readColumnFile(file);
    if (!read)
        return 0;
    if (read->refused.size() > quintor::refusedLinesKept ||
        read->refused.size() > read->refusedCount)
        std::abort();
    for (const auto& column : read->columns) {
        quintor::NumberSet seen;
        for (auto n : column) {
            if (n < 1 || n > 90 || seen.contains(n))
                std::abort();
            seen.add(n);
        }
    }
    for (const auto& text :
         {quintor::columnsCsv(read->columns), quintor::columnsText(read->columns)}) {
        const auto back = quintor::parseColumnFile(text);
        if (!back || back->columns != read->columns || back->refusedCount != 0)
            std::abort();
    }

    quintor::SystemState state;
    const auto first = quintor::appendColumnFile(state, *read);
    if (first.added + first.duplicates != read->columns.size() ||
        state.finalColumns.size() != first.added)
        std::abort();
    const auto second = quintor::appendColumnFile(state, *read);
    if (second.added != 0 || state.finalColumns.size() != first.added)
        std::abort();
    (void)quintor::columnImportReport(first, read->refused);
    return 0;
}

#include "core/column.h"
#include "core/system_file.h"
#include "fuzz_input.h"

#include <cstdlib>
#include <cstring>

// Any bytes either fail to load or load into a state that saves back to the same bytes
// (byte 0 aside, which is always written as 0).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile("input.qtr", data, size);
    quintor::SystemState state;
    const bool loaded = quintor::readSystemFile(file, state);
    if (!loaded) {
        if (!state.finalColumns.empty() || state.markedCount() != 0)
            std::abort();
        return 0;
    }
    for (const auto& column : state.finalColumns)
        (void)quintor::formatColumn(column);
    const auto bytes = quintor::systemFileBytes(state);
    if (bytes.size() != size || (size > 1 && std::memcmp(bytes.data() + 1, data + 1, size - 1)))
        std::abort();
    std::vector<quintor::Column> columns;
    if (!quintor::readSystemColumns(file, columns) || columns != state.finalColumns)
        std::abort();
    return 0;
}

#include "core/column.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

// Column texts: parseColumn keeps what it is not given, and a column of board numbers
// written as text reads back the same through both readers.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)quintor::readColumnFields(text);
    const quintor::Column previous{91, 92, 93, 94, 95, 96};
    const auto column = quintor::parseColumn(text, previous);
    if (!column)
        return 0;
    if (!std::all_of(column->begin(), column->end(),
                     [](std::uint8_t n) { return quintor::isBoardNumber(n); }))
        return 0;
    const std::string written = quintor::formatColumn(*column);
    if (written.size() != quintor::columnTextLength ||
        quintor::readColumnFields(written) != *column)
        std::abort();
    const auto again = quintor::parseColumn(written, previous);
    if (!again || *again != *column)
        std::abort();
    return 0;
}

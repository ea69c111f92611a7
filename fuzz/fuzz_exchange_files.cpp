#include "core/system_state.h"
#include "core/user_functions.h"
#include "fuzz_input.h"

#include <cstdlib>

// The two files a user function hands back, of any content (the first byte says how much of
// the input is sistema.dat, the rest is colonne.dat): only numbers 1..90 come back, and what
// came back, applied to a system and written out again, reads back the same with nothing
// refused.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t split = std::min<std::size_t>(data[0], size - 1);
    const auto system = fuzzFile(quintor::exchangeSystemName, data + 1, split);
    fuzzFile(quintor::exchangeColumnsName, data + 1 + split, size - 1 - split);
    const auto folder = system.parent_path();
    const auto result = quintor::readExchangeFiles(folder);
    // An empty sistema.dat, or a colonne.dat without its count, hands nothing back.
    if (result.marked.has_value() != (split > 0) ||
        result.columns.has_value() != (size - 1 - split >= 4) || result.refusedNumbers < 0 ||
        result.refusedColumns < 0 || (result.marked && (*result.marked)[0] != 0))
        std::abort();
    if (result.columns)
        for (const auto& column : *result.columns)
            for (auto n : column)
                if (n < 1 || n > 90)
                    std::abort();

    quintor::SystemState state;
    quintor::applyExchangeResult(result, state);
    if (!quintor::writeExchangeFiles(folder, state))
        std::abort();
    const auto again = quintor::readExchangeFiles(folder);
    if (again.marked != state.marked || again.columns != state.finalColumns ||
        (result.marked && again.marked != result.marked) ||
        (result.columns && again.columns != result.columns) || again.refusedNumbers != 0 ||
        again.refusedColumns != 0)
        std::abort();
    quintor::removeExchangeFiles(folder);
    return 0;
}

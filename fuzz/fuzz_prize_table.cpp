#include "core/backtest.h"
#include "core/money.h"
#include "fuzz_input.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Five whole amounts, none negative: what every table the program uses holds.
bool wholeAmounts(const quintor::PrizeTable& table) {
    for (long double amount : table.lire)
        if (!(amount >= 0) || std::floor(amount) != amount)
            return false;
    return true;
}

} // namespace

// premi.cfg of any content and a typed --prizes text of any content: the table read is the
// defaults or five whole amounts that save and read back the same, and a parsed text writes
// back as a text that parses to the same table.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile(quintor::prizeFileName, data, size);
    const auto folder = file.parent_path();
    const quintor::PrizeTable loaded = quintor::PrizeTable::load(folder);
    if (!wholeAmounts(loaded) || !loaded.save(folder) ||
        !(quintor::PrizeTable::load(folder) == loaded))
        std::abort();

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = quintor::PrizeTable::parse(text);
    if (!parsed)
        return 0;
    if (!wholeAmounts(*parsed))
        std::abort();
    std::string written;
    for (long double amount : parsed->lire)
        written += (written.empty() ? "" : ",") + std::to_string(static_cast<long long>(amount));
    const auto back = quintor::PrizeTable::parse(written);
    if (!back || !(*back == *parsed) || quintor::moneyText(parsed->won({1, 1, 1, 1, 1})).empty())
        std::abort();
    return 0;
}

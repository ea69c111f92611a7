#include "core/print_settings.h"

#include <cmath>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

// The print windows' fields (one per input line, the first byte picking the layout): the
// fields before the first bad one are taken, the rest keep their values.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto layout =
        data[0] % 2 ? quintor::SlipLayout::horizontal : quintor::SlipLayout::vertical;
    std::vector<std::string> fields(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == '\n')
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }
    quintor::LayoutValues values = quintor::LayoutValues::defaults();
    const quintor::TakenValues taken = quintor::takeLayoutFields(layout, fields, values);
    const auto records = quintor::fieldRecords(layout);
    const std::size_t good = taken.ok ? records.size() : taken.invalidField;
    if (good > records.size() || good > fields.size())
        std::abort();
    const std::span<const quintor::Real48> stored =
        layout == quintor::SlipLayout::vertical
            ? std::span<const quintor::Real48>(values.vertical)
            : std::span<const quintor::Real48>(values.horizontal);
    for (std::size_t f = 0; f < good; ++f) {
        const auto parsed = quintor::parseLayoutValue(fields[f]);
        if (!parsed || !(stored[records[f]] == *parsed) || !std::isfinite(parsed->value()))
            std::abort();
    }
    return 0;
}

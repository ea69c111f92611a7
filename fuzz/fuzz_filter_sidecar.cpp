#include "core/column_filters.h"
#include "core/system_file.h"
#include "fuzz_input.h"

#include <cstdlib>

// The filters file beside a system, of any content: the filters read write back to texts that
// read as the same filters, and counting the columns that pass by walking prefixes agrees with
// checking every column on its own.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sidecar = fuzzFile(quintor::filterSidecarName("sistema.qtr").c_str(), data, size);
    const auto filters = quintor::readSystemFilters(sidecar.parent_path() / "sistema.qtr");

    std::string written;
    for (const auto& line : quintor::filterTexts(filters))
        written += line + "\r\n";
    const auto back = quintor::parseFilterLines(written);
    if (!back || *back != filters)
        std::abort();

    // A few past draws for the archive filters, and twelve marked numbers: 924 columns.
    static const std::vector<quintor::Column> draws = {
        {1, 2, 3, 4, 5, 6}, {10, 20, 30, 40, 50, 60}, {3, 7, 11, 45, 46, 90}};
    static const std::vector<int> marked = {1, 2, 3, 7, 10, 11, 20, 45, 46, 60, 89, 90};
    const quintor::FilterCheck check(filters, draws);
    std::uint64_t passing = 0;
    quintor::forEachPassingColumn(check, marked, [&](const quintor::Column& column) {
        if (!check.passes(column))
            std::abort();
        ++passing;
        return true;
    });
    std::uint64_t checked = 0;
    for (std::size_t a = 0; a < marked.size(); ++a)
        for (std::size_t b = a + 1; b < marked.size(); ++b)
            for (std::size_t c = b + 1; c < marked.size(); ++c)
                for (std::size_t d = c + 1; d < marked.size(); ++d)
                    for (std::size_t e = d + 1; e < marked.size(); ++e)
                        for (std::size_t f = e + 1; f < marked.size(); ++f) {
                            const quintor::Column column{static_cast<std::uint8_t>(marked[a]),
                                                         static_cast<std::uint8_t>(marked[b]),
                                                         static_cast<std::uint8_t>(marked[c]),
                                                         static_cast<std::uint8_t>(marked[d]),
                                                         static_cast<std::uint8_t>(marked[e]),
                                                         static_cast<std::uint8_t>(marked[f])};
                            checked += check.passes(column) ? 1 : 0;
                        }
    const auto counted = quintor::countPassingColumns(check, marked);
    if (checked != passing || !counted || *counted != passing ||
        quintor::anyColumnPasses(check, marked) != (passing != 0))
        std::abort();
    return 0;
}

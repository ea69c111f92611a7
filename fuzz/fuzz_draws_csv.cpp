#include "core/archive.h"
#include "core/column_csv.h"

#include <cstdlib>
#include <string_view>

// A CSV file of draws, of any content: only valid draws are taken, every refused line is
// numbered within the file, and the draws taken, exported as CSV, read back as the same draws
// with nothing refused.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto file = quintor::parseCsvDraws(text);
    if (file.rejected != file.rejectedLines.size())
        std::abort();
    for (const auto& line : file.rejectedLines)
        if (line.line < 1 || line.line > size)
            std::abort();
    for (const auto& draw : file.draws)
        if (!draw.isValidDraw())
            std::abort();
    const auto back = quintor::parseCsvDraws(quintor::drawsCsv(file.draws));
    if (back.rejected != 0 || back.draws.size() != file.draws.size())
        std::abort();
    for (std::size_t i = 0; i < back.draws.size(); ++i)
        if (back.draws[i].date != file.draws[i].date ||
            back.draws[i].numbers != file.draws[i].numbers ||
            back.draws[i].jollyNumber != file.draws[i].jollyNumber)
            std::abort();
    return 0;
}

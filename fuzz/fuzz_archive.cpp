#include "core/archive.h"
#include "fuzz_input.h"

#include <cstdlib>
#include <string_view>

// Any bytes load as whole 29-byte records that save back to exactly those bytes; read as a
// file of draws (unless they are text with zero bytes), they merge only valid draws, each once,
// and the archive saves to whole records.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile("vincenti.dat", data, size);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const quintor::Archive archive = quintor::Archive::load(file);
    const std::size_t whole = size - size % quintor::archiveRecordSize;
    if (archive.size() != whole / quintor::archiveRecordSize ||
        archive.fileBytes() != input.substr(0, whole))
        std::abort();

    // Only text with zero bytes in it (another encoding) is refused as a file of draws.
    auto draws = quintor::readDrawFile(file);
    if (!draws) {
        if (input.find('\0') == std::string_view::npos)
            std::abort();
        return 0;
    }
    quintor::Archive merged = archive;
    const auto counts = merged.merge(draws->draws);
    if (counts.added + counts.present + counts.rejected != draws->draws.size() ||
        merged.size() != archive.size() + counts.added ||
        merged.fileBytes().size() != merged.size() * quintor::archiveRecordSize)
        std::abort();
    for (std::size_t i = archive.size(); i < merged.size(); ++i)
        (void)merged.hasDate(merged[i].date);
    // A damaged date already in the archive may stand in the way of an insertion.
    bool datesOk = true;
    for (const auto& record : archive.records())
        datesOk = datesOk && record.day.has_value();
    for (const auto& draw : draws->draws)
        if (datesOk && draw.isValidDraw() && !merged.hasDate(draw.date))
            std::abort();
    return 0;
}

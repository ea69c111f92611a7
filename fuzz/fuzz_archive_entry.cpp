#include "core/archive.h"

#include <cstdlib>
#include <string_view>

// The archive window's entry box (date, column, jolly, one per input line): an accepted entry
// is a record with a real date, the stored texts' widths, and board numbers.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string_view fields[3];
    for (auto& field : fields) {
        const std::size_t end = rest.find('\n');
        field = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    const auto record = quintor::recordFromEntry(fields[0], fields[1], fields[2]);
    if (!record)
        return 0;
    if (!record->day || record->date.size() != quintor::archiveDateLength ||
        record->column.size() != quintor::columnTextLength ||
        record->jolly.size() != quintor::archiveJollyLength ||
        !quintor::isBoardNumber(record->jollyNumber))
        std::abort();
    for (std::uint8_t n : record->numbers)
        if (!quintor::isBoardNumber(n))
            std::abort();
    quintor::Archive archive;
    if (!archive.insert(*record) || archive.fileBytes().size() != quintor::archiveRecordSize)
        std::abort();
    return 0;
}

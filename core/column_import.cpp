#include "core/system_file.h"

#include "core/byte_file.h"

#include <cstring>

namespace quintor {

static_assert(sizeof(Column) == 6, "columns are read straight from the file");

bool readSystemColumns(const std::filesystem::path& file, std::vector<Column>& columns) {
    columns.clear();
    // Only plain files: a FIFO picked in the open dialog would otherwise block the window.
    const auto bytes = readFileBytes(file);
    if (!bytes)
        return false;
    // A file shorter than the header holds no columns, and a trailing partial column is not
    // a column: only whole six-byte records after the header count.
    if (bytes->size() <= systemHeaderSize)
        return true;
    const std::size_t count = (bytes->size() - systemHeaderSize) / systemColumnSize;
    columns.resize(count);
    std::memcpy(columns.data(), bytes->data() + systemHeaderSize, count * systemColumnSize);
    return true;
}

} // namespace quintor

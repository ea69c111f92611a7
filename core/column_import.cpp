#include "core/system_file.h"

#include <fstream>

namespace quintor {

static_assert(sizeof(Column) == 6, "columns are read straight from the file");

bool readSystemColumns(const std::filesystem::path& file, std::vector<Column>& columns) {
    columns.clear();
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return false;
    // A file shorter than the header holds no columns, and a trailing partial column is not
    // a column: only whole six-byte records after the header count.
    if (static_cast<std::size_t>(size) <= systemHeaderSize)
        return true;
    const std::size_t count = (static_cast<std::size_t>(size) - systemHeaderSize) / 6;
    in.seekg(static_cast<std::streamoff>(systemHeaderSize));
    columns.resize(count);
    in.read(reinterpret_cast<char*>(columns.data()), static_cast<std::streamsize>(count * 6));
    if (in.gcount() != static_cast<std::streamsize>(count * 6)) {
        columns.resize(static_cast<std::size_t>(in.gcount()) / 6);
        return false;
    }
    return true;
}

} // namespace quintor

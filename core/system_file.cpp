#include "core/system_file.h"

#include "core/byte_file.h"
#include "core/program_folder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace quintor {

namespace {

// On disk the third and fourth value of each layout group are swapped: vertical spacing
// comes before horizontal spacing.
constexpr std::size_t verticalDiskOrder[6] = {0, 1, 3, 2, 4, 5};
constexpr std::size_t horizontalDiskOrder[5] = {0, 1, 3, 2, 4};

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    // The next n bytes, or nothing when fewer remain (the position then stays put).
    const std::uint8_t* take(std::size_t n) {
        if (bytes_.size() - position_ < n)
            return nullptr;
        const std::uint8_t* start = bytes_.data() + position_;
        position_ += n;
        return start;
    }
    bool atEnd() const { return position_ == bytes_.size(); }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t position_ = 0;
};

bool readReal(Reader& reader, Real48& value) {
    const std::uint8_t* raw = reader.take(6);
    if (!raw)
        return false;
    Real48::Bytes bytes;
    std::copy(raw, raw + 6, bytes.begin());
    value = Real48::fromBytes(bytes);
    return true;
}

// Header fields in file order, each written into state as soon as it is read whole, so a
// short file leaves the fields before the cut as read.
bool readHeader(Reader& reader, SystemState& state) {
    if (!reader.take(1))
        return false;
    const std::uint8_t* marks = reader.take(boardSize);
    if (!marks)
        return false;
    std::copy(marks, marks + boardSize, state.marked.begin() + 1);
    for (int n = 1; n <= boardSize; ++n)
        if (!readReal(reader, state.probabilities[static_cast<std::size_t>(n)]))
            return false;
    for (std::size_t index : verticalDiskOrder)
        if (!readReal(reader, state.layout.vertical[index]))
            return false;
    for (std::size_t index : horizontalDiskOrder)
        if (!readReal(reader, state.layout.horizontal[index]))
            return false;
    const std::uint8_t* count = reader.take(4);
    if (!count)
        return false;
    const std::uint32_t raw = std::uint32_t{count[0]} | std::uint32_t{count[1]} << 8 |
                              std::uint32_t{count[2]} << 16 | std::uint32_t{count[3]} << 24;
    state.fixedCount = static_cast<std::int32_t>(raw);
    const std::uint8_t* fixed = reader.take(boardSize);
    if (!fixed)
        return false;
    std::copy(fixed, fixed + boardSize, state.fixedNumbers.begin());
    return true;
}

bool failRead(SystemState& state) {
    state.finalColumns.clear();
    state.marked.fill(0);
    return false;
}

// A filter file as it was before a save: its bytes, or none when there was no file (the
// file a link names counts).
struct FilterFileBefore {
    bool existed = false;
    std::optional<std::vector<std::uint8_t>> bytes;
};

FilterFileBefore filterFileBefore(const std::filesystem::path& sidecar) {
    std::error_code error;
    FilterFileBefore before;
    before.existed = std::filesystem::exists(sidecar, error) || error;
    if (before.existed)
        before.bytes = readFileBytes(sidecar);
    return before;
}

// Puts the filter file back as it was before the save; one that could not be read then is
// left as it is.
void restoreFilterFile(const FilterFileBefore& before, const std::filesystem::path& sidecar) {
    if (before.bytes) {
        replaceFileContents(sidecar, *before.bytes);
    } else if (!before.existed) {
        std::error_code error;
        if (const auto real = linkTarget(sidecar))
            std::filesystem::remove(*real, error);
    }
}

} // namespace

// The read itself, with no lock.
static bool readSystemBytes(const std::filesystem::path& file, SystemState& state) {
    const std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(file);
    if (!bytes)
        return failRead(state);
    Reader reader(*bytes);
    if (!readHeader(reader, state))
        return failRead(state);
    // The columns follow the header as one block of six-byte records, copied whole.
    const std::uint8_t* rest = reader.take(bytes->size() - systemHeaderSize);
    const std::size_t restSize = bytes->size() - systemHeaderSize;
    if (!rest || restSize % systemColumnSize != 0)
        return failRead(state);
    static_assert(sizeof(Column) == systemColumnSize);
    std::vector<Column> columns(restSize / systemColumnSize);
    if (restSize != 0)
        std::memcpy(columns.data(), rest, restSize);
    state.finalColumns = std::move(columns);
    FilterLines filters = readSystemFilterFile(file);
    state.filters = std::move(filters.filters);
    state.unreadFilterLines = std::move(filters.unread);
    return true;
}

bool readSystemFile(const std::filesystem::path& file, SystemState& state) {
    std::optional<DiskVersion> version;
    return readSystemFile(file, state, version);
}

bool readSystemFile(const std::filesystem::path& file, SystemState& state,
                    std::optional<DiskVersion>& version) {
    // Saves hold the lock exclusively: under the shared one the version recorded is the
    // content read.
    const FileLock lock(file, LockKind::shared);
    version = lock.version();
    if (readSystemBytes(file, state))
        return true;
    version.reset();
    return false;
}

FilterLines readSystemFilterFile(const std::filesystem::path& file) {
    const auto bytes = readFileBytes(filterSidecarName(file.string()), 64 * 1024);
    if (!bytes)
        return {};
    return readFilterLines(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

ColumnFilters readSystemFilters(const std::filesystem::path& file) {
    return readSystemFilterFile(file).filters;
}

std::string unreadFilterLinesMessage(const std::filesystem::path& file,
                                     const std::vector<UnreadFilterLine>& unread) {
    if (unread.empty())
        return {};
    std::string text = "Il file dei filtri " + filterSidecarName(file.filename().string()) +
                       " contiene righe che non sono filtri:";
    // The first lines are enough for the user to find and mend them.
    constexpr std::size_t shownLines = 8;
    for (std::size_t k = 0; k < std::min(unread.size(), shownLines); ++k)
        text += "\rriga " + std::to_string(unread[k].line) + ": " + unread[k].text.substr(0, 60) +
                " (" + unread[k].reason + ")";
    if (unread.size() > shownLines)
        text += "\re altre " + std::to_string(unread.size() - shownLines);
    return text + "\rLe righe restano nel file; gli altri filtri sono in uso.";
}

std::vector<std::uint8_t> systemFileBytes(const SystemState& state) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(systemHeaderSize + systemColumnSize * state.finalColumns.size());
    auto putReal = [&](const Real48& value) {
        bytes.insert(bytes.end(), value.bytes().begin(), value.bytes().end());
    };
    bytes.push_back(0);
    bytes.insert(bytes.end(), state.marked.begin() + 1, state.marked.end());
    for (int n = 1; n <= boardSize; ++n)
        putReal(state.probabilities[static_cast<std::size_t>(n)]);
    for (std::size_t index : verticalDiskOrder)
        putReal(state.layout.vertical[index]);
    for (std::size_t index : horizontalDiskOrder)
        putReal(state.layout.horizontal[index]);
    const auto count = static_cast<std::uint32_t>(state.fixedCount);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(count >> shift));
    bytes.insert(bytes.end(), state.fixedNumbers.begin(), state.fixedNumbers.end());
    // The columns are contiguous six-byte arrays: one copy writes them all.
    const std::size_t header = bytes.size();
    const std::size_t columnBytes = systemColumnSize * state.finalColumns.size();
    bytes.resize(header + columnBytes);
    if (columnBytes != 0)
        std::memcpy(bytes.data() + header, state.finalColumns.data(), columnBytes);
    return bytes;
}

// The save itself, with no lock.
static bool writeSystemFiles(const std::filesystem::path& file, const SystemState& state) {
    // The filters live in a text file of their own, so that the system file keeps the layout
    // every reader of it knows.
    const std::filesystem::path sidecar = filterSidecarName(file.string());
    if (state.filters.empty() && state.unreadFilterLines.empty()) {
        if (!replaceFileContents(file, systemFileBytes(state)))
            return false;
        std::error_code error;
        const auto status = std::filesystem::symlink_status(sidecar, error);
        if (!error && std::filesystem::is_regular_file(status))
            return std::filesystem::remove(sidecar, error) && !error;
        return true;
    }
    // The small filter file goes first, and is put back when the system file cannot be
    // saved: a failed save changes neither.
    const FilterFileBefore before = filterFileBefore(sidecar);
    std::string text;
    for (const auto& line : filterTexts(state.filters))
        text += line + "\r\n";
    for (const auto& line : state.unreadFilterLines)
        text += line.text + "\r\n";
    if (!replaceFileContents(sidecar, text))
        return false;
    if (replaceFileContents(file, systemFileBytes(state)))
        return true;
    restoreFilterFile(before, sidecar);
    return false;
}

SystemSaveResult saveSystemFile(const std::filesystem::path& file, const SystemState& state,
                                std::optional<DiskVersion>& base) {
    // Every program saving a file of this folder takes the same lock, so the check below and
    // the rename that follows it are one step for the others.
    const FileLock lock(file, LockKind::exclusive);
    if (lock.file().empty())
        return SystemSaveResult::failed;
    if (!lock.locked())
        return lock.folderExists() ? SystemSaveResult::busy : SystemSaveResult::failed;
    if (lock.changedSince(base))
        return SystemSaveResult::changedOnDisk;
    if (!writeSystemFiles(file, state))
        return SystemSaveResult::failed;
    base = lock.version();
    return SystemSaveResult::saved;
}

bool writeSystemFile(const std::filesystem::path& file, const SystemState& state) {
    std::optional<DiskVersion> noBase;
    return saveSystemFile(file, state, noBase) == SystemSaveResult::saved;
}

std::filesystem::path systemFileNameFor(const std::filesystem::path& typed) {
    std::filesystem::path name = typed.filename();
    if (name.empty())
        return typed;
    if (!name.has_extension())
        name += ".qtr";
    return findFileNoCase(typed.parent_path(), name.string());
}

std::string newSystemFileName(int number) {
    return "Sistem" + std::to_string(number) + ".Qtr";
}

int firstFreeSystemNumber(const std::filesystem::path& folder, int from) {
    int n = std::max(from, 1);
    std::error_code error;
    while (std::filesystem::exists(findFileNoCase(folder, newSystemFileName(n)), error))
        ++n;
    return n;
}

} // namespace quintor

#include "core/recent_files.h"

#include "core/byte_file.h"
#include "core/program_folder.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace quintor {

namespace {

constexpr std::size_t maxEntryLength = recentEntrySize - 1;

std::size_t limitOf(std::int32_t count) {
    return count <= 0 ? 0
                      : std::min<std::size_t>(static_cast<std::size_t>(count), recentEntryCount);
}

} // namespace

RecentFiles RecentFiles::load(const std::filesystem::path& file) {
    RecentFiles list;
    const auto bytes = readFileHead(file, recentFilesSize);
    if (!bytes || bytes->size() < 4)
        return list;
    const std::vector<std::uint8_t>& b = *bytes;
    const std::uint32_t raw = std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 |
                              std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
    list.count = std::max<std::int32_t>(static_cast<std::int32_t>(raw), 0);
    for (std::size_t k = 0; k < limitOf(list.count); ++k) {
        const std::size_t start = 4 + recentEntrySize * k;
        if (start >= b.size())
            break;
        const std::size_t length = b[start];
        if (start + 1 + length > b.size())
            continue;
        list.entries[k].assign(b.begin() + static_cast<std::ptrdiff_t>(start + 1),
                               b.begin() + static_cast<std::ptrdiff_t>(start + 1 + length));
    }
    return list;
}

bool RecentFiles::save(const std::filesystem::path& file) const {
    std::vector<std::uint8_t> bytes(recentFilesSize, 0);
    const auto raw = static_cast<std::uint32_t>(count);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(raw >> (8 * i));
    for (std::size_t k = 0; k < recentEntryCount; ++k) {
        const std::string& entry = entries[k];
        const std::size_t length = std::min(entry.size(), maxEntryLength);
        const std::size_t start = 4 + recentEntrySize * k;
        bytes[start] = static_cast<std::uint8_t>(length);
        std::copy_n(entry.begin(), length, bytes.begin() + static_cast<std::ptrdiff_t>(start + 1));
    }
    return replaceFileContents(file, bytes);
}

bool RecentFiles::contains(const std::string& name) const {
    const std::size_t limit = limitOf(count);
    return std::find(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(limit), name) !=
           entries.begin() + static_cast<std::ptrdiff_t>(limit);
}

bool RecentFiles::entryInUse(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < limitOf(count) &&
           !entries[static_cast<std::size_t>(index)].empty();
}

int RecentFiles::entriesInUse() const {
    int inUse = 0;
    for (int k = 0; k < static_cast<int>(recentEntryCount); ++k)
        inUse += entryInUse(k);
    return inUse;
}

void RecentFiles::add(const std::string& name) {
    if (count < 0)
        count = 0;
    if (name.empty() || name.size() > maxEntryLength || contains(name))
        return;
    if (count < std::numeric_limits<std::int32_t>::max())
        ++count;
    if (count <= static_cast<std::int32_t>(recentEntryCount)) {
        entries[static_cast<std::size_t>(count - 1)] = name;
    } else {
        std::move_backward(entries.begin(), entries.end() - 1, entries.end());
        entries[0] = name;
    }
    for (std::size_t k = limitOf(count); k < recentEntryCount; ++k)
        entries[k].clear();
}

std::filesystem::path RecentFiles::location(const std::filesystem::path& programFolder) {
    return findFileNoCase(programFolder, recentFilesName);
}

RecentFiles RecentFiles::recordSave(const std::filesystem::path& programFolder,
                                    const std::string& savedFile) {
    const std::filesystem::path file = location(programFolder);
    RecentFiles list = load(file);
    list.add(savedFile);
    list.save(file);
    return list;
}

namespace {

// Longest folder part a caption shows whole, in characters (not bytes: names are UTF-8).
constexpr std::size_t longestFolderPart = 32;

std::vector<std::string> folderNames(const std::filesystem::path& path) {
    std::vector<std::string> names;
    for (const auto& part : path.parent_path().relative_path())
        if (!part.empty())
            names.push_back(part.string());
    return names;
}

// The last count names, or all of them when there are fewer.
std::vector<std::string> lastFolders(const std::vector<std::string>& names, std::size_t count) {
    const std::size_t from = names.size() > count ? names.size() - count : 0;
    return {names.begin() + static_cast<std::ptrdiff_t>(from), names.end()};
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t characterCount(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !isContinuationByte(c); }));
}

// Byte offset of character index within text.
std::size_t characterOffset(const std::string& text, std::size_t index) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuationByte(text[i]))
            continue;
        if (seen == index)
            return i;
        ++seen;
    }
    return text.size();
}

std::string elideMiddle(const std::string& text, std::size_t limit) {
    const std::size_t length = characterCount(text);
    if (length <= limit)
        return text;
    const std::size_t head = (limit - 1) / 2;
    const std::size_t tail = limit - 1 - head;
    return text.substr(0, characterOffset(text, head)) + "…" +
           text.substr(characterOffset(text, length - tail));
}

} // namespace

std::string recentMenuCaption(const std::string& entry, const RecentFiles& list) {
    const std::filesystem::path path(entry);
    const std::vector<std::string> folders = folderNames(path);
    // The fewest trailing folders (at least one) that no other entry of this file name shares.
    std::size_t shown = std::min<std::size_t>(1, folders.size());
    for (int k = 0; k < static_cast<int>(recentEntryCount); ++k) {
        const std::string& other = list.entries[static_cast<std::size_t>(k)];
        if (!list.entryInUse(k) || other == entry ||
            std::filesystem::path(other).filename() != path.filename())
            continue;
        const std::vector<std::string> otherFolders = folderNames(other);
        while (shown < folders.size() &&
               lastFolders(folders, shown) == lastFolders(otherFolders, shown))
            ++shown;
    }
    std::string folderPart;
    for (const std::string& name : lastFolders(folders, shown))
        folderPart += name + '/';
    const std::string root = path.root_path().string();
    const std::string hidden = shown < folders.size() ? "../" : "";
    return root + hidden + elideMiddle(folderPart, longestFolderPart) + path.filename().string();
}

} // namespace quintor

#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quintor {

inline constexpr const char* recentFilesName = "QUIN_LST.CFG";
inline constexpr std::size_t recentFilesSize = 1540;

// The six most recently saved systems, as QUIN_LST.CFG keeps them: a count (which keeps
// growing past six) and six length-prefixed paths.
struct RecentFiles {
    std::int32_t count = 0;
    std::array<std::string, 6> entries; // empty string = empty entry

    // A missing or damaged file gives what can be read of it; never fails.
    static RecentFiles load(const std::filesystem::path& file);
    bool save(const std::filesystem::path& file) const;

    // The save rule: a new name goes at the end while there is room, then at the top
    // pushing the sixth out; a name already present changes nothing.
    void add(const std::string& name);
    bool contains(const std::string& name) const;
    bool entryInUse(int index) const; // index 0..5
};

// The menu caption of an entry: the root, "..", and the file name ("/../Sistem1.Qtr").
std::string recentMenuCaption(const std::string& entry);

} // namespace quintor

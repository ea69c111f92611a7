#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quintor {

inline constexpr const char* recentFilesName = "QUIN_LST.CFG";
inline constexpr std::size_t recentFilesSize = 1540;
inline constexpr std::size_t recentEntrySize = 256;
inline constexpr std::size_t recentEntryCount = 6;

// The six most recently saved systems, as QUIN_LST.CFG keeps them: a count (which keeps
// growing past six) and six length-prefixed paths. Paths are kept exactly as given, letter
// case included, so every entry reopens its file on a case-sensitive file system.
struct RecentFiles {
    std::int32_t count = 0;
    std::array<std::string, recentEntryCount> entries; // empty string = empty entry

    // A missing or damaged file gives what can be read of it; never fails. A negative count
    // reads as 0, and an entry the file does not hold whole is empty.
    static RecentFiles load(const std::filesystem::path& file);
    bool save(const std::filesystem::path& file) const;

    // The save rule: a new name goes at the end while there is room, then at the top
    // pushing the sixth out; a name already present changes nothing. A name longer than an
    // entry can hold (255 bytes) is not entered, since a cut path would open nothing.
    void add(const std::string& name);
    bool contains(const std::string& name) const;
    bool entryInUse(int index) const; // index 0..5
    // Entries 0..min(count, 6) - 1 that hold a name.
    int entriesInUse() const;

    // QUIN_LST.CFG in the program folder, whatever the letter case of its name on disk.
    static std::filesystem::path location(const std::filesystem::path& programFolder);
    // What follows a successful save: reload the list, enter the saved system's full path,
    // write the list back. Errors with the list file are ignored (the save still counts);
    // the list as it now stands is returned for the menus.
    static RecentFiles recordSave(const std::filesystem::path& programFolder,
                                  const std::string& savedFile);
};

// The menu caption of an entry: the root, "..", the folder that holds the file and the file
// name ("/../Sistemi/Sistem1.Qtr"). When another of the listed entries has the same file name
// in a folder of the same name, more of the path is shown, as much as tells the two apart; a
// path shown whole has no "..". A long folder part loses its middle ("…"), so the caption
// stays short enough for a menu while its start and its end are still there.
std::string recentMenuCaption(const std::string& entry, const RecentFiles& list);

} // namespace quintor

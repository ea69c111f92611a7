#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quintor {

// Where settings, lists and the archive live: the folder given to setProgramFolder (tests),
// else QUINTOR_HOME when set and not empty, else the folder of the executable when the user
// may write there and the program is not installed (no share/quintor beside its folder),
// else the user data folder.
std::filesystem::path programFolder();
// An empty folder drops an earlier choice.
void setProgramFolder(const std::filesystem::path& folder);
// Called once by main() with argv[0]'s resolved path, when QUINTOR_HOME is not set.
void setExecutablePath(const std::filesystem::path& executable);
// The user's own data folder (for instance ~/.local/share/Quintor), set once by main().
void setUserDataFolder(const std::filesystem::path& folder);

// What readying the program folder found and did.
struct FolderPreparation {
    bool ok = true;          // every file it had to make was made
    bool firstStart = false; // the folder had no archive: this is the program's first start there
};

// Readies the program folder: on the first start there (no archive yet) creates it, gives it
// the simulated archive (labelled as such by the windows) with its newest draw on or before
// today, copies the files of examples (the example user functions) that it does not hold yet,
// and enters every program of the folder that has a description in the user-function menu,
// so that the examples are there to try.
// The examples come from several folders: scripts and descriptions are shared files, the
// compiled examples programs of the machine's architecture, installed apart.
FolderPreparation prepareProgramFolder(const std::vector<std::filesystem::path>& exampleFolders,
                                       std::chrono::sys_days today);

// Copies into folder the plain files of exampleFolders it does not hold yet (compared by
// exact name), each saved through copyFileContents. False when one could not be copied.
bool copyExamples(const std::vector<std::filesystem::path>& exampleFolders,
                  const std::filesystem::path& folder);

// The file in folder whose name equals name without regard to letter case; when none
// exists, folder / name spelled as given (so a new file gets the program's spelling).
std::filesystem::path findFileNoCase(const std::filesystem::path& folder, std::string_view name);

// The existing file a save to file would stand beside or replace: file itself, else a file of
// its folder whose name differs only in letter case (Sistem3.Qtr for sistem3.qtr); nothing
// when there is neither. Every "already on the disk" question asks it, so that a save never
// makes a twin that differs only in case without asking.
std::optional<std::filesystem::path> existingFileNoCase(const std::filesystem::path& file);

} // namespace quintor

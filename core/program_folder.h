#pragma once

#include <filesystem>
#include <string_view>

namespace quintor {

// Where settings, lists and the archive live: the folder given to setProgramFolder (tests),
// else QUINTOR_HOME when set and not empty, else the folder of the executable.
std::filesystem::path programFolder();
// An empty folder drops an earlier choice.
void setProgramFolder(const std::filesystem::path& folder);
// Called once by main() with argv[0]'s resolved path, when QUINTOR_HOME is not set.
void setExecutablePath(const std::filesystem::path& executable);

// The file in folder whose name equals name without regard to letter case; when none
// exists, folder / name spelled as given (so a new file gets the program's spelling).
std::filesystem::path findFileNoCase(const std::filesystem::path& folder, std::string_view name);

} // namespace quintor

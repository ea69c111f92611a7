#pragma once

#include <filesystem>
#include <string_view>

namespace quintor {

// Where settings, lists and the archive live: QUINTOR_HOME when set, else the folder of the
// executable. Tests set it explicitly.
std::filesystem::path programFolder();
void setProgramFolder(const std::filesystem::path& folder);
// Called once by main() with argv[0]'s resolved path, when QUINTOR_HOME is not set.
void setExecutablePath(const std::filesystem::path& executable);

// The file in folder whose name equals name without regard to letter case; when none
// exists, folder / name spelled as given (so a new file gets the program's spelling).
std::filesystem::path findFileNoCase(const std::filesystem::path& folder, std::string_view name);

} // namespace quintor

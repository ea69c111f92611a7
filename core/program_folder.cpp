#include "core/program_folder.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

namespace quintor {

namespace fs = std::filesystem;

namespace {

struct FolderSources {
    std::optional<fs::path> chosen;     // set by setProgramFolder
    std::optional<fs::path> executable; // set by setExecutablePath
};

FolderSources& sources() {
    static FolderSources instance;
    return instance;
}

char foldCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldCase(x) == foldCase(y);
           });
}

} // namespace

fs::path programFolder() {
    FolderSources& s = sources();
    if (s.chosen)
        return *s.chosen;
    if (const char* home = std::getenv("QUINTOR_HOME"); home && *home)
        return fs::path(home);
    std::error_code error;
    if (s.executable)
        return s.executable->parent_path();
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    return fs::current_path(error);
}

void setProgramFolder(const fs::path& folder) {
    if (folder.empty())
        sources().chosen.reset();
    else
        sources().chosen = folder;
}

void setExecutablePath(const fs::path& executable) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(executable, error);
    sources().executable = error ? executable : resolved;
}

fs::path findFileNoCase(const fs::path& folder, std::string_view name) {
    std::error_code error;
    const fs::path exact = folder / fs::path(name);
    if (fs::exists(exact, error))
        return exact;
    // Two spellings of one name can both exist on a case-sensitive disk; take the first in
    // byte order so that every lookup settles on the same one.
    std::optional<fs::path> best;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path candidate = it->path();
        const std::string fileName = candidate.filename().string();
        if (equalNoCase(fileName, name) && (!best || fileName < best->filename().string()))
            best = candidate;
    }
    return best ? *best : exact;
}

} // namespace quintor

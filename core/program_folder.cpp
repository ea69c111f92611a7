#include "core/program_folder.h"

#include "core/archive.h"
#include "core/user_functions.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace quintor {

namespace fs = std::filesystem;

namespace {

struct FolderSources {
    std::optional<fs::path> chosen;     // set by setProgramFolder
    std::optional<fs::path> executable; // set by setExecutablePath
    std::optional<fs::path> userData;   // set by setUserDataFolder
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
    fs::path executableFolder;
    if (s.executable) {
        executableFolder = s.executable->parent_path();
    } else {
        const fs::path self = fs::read_symlink("/proc/self/exe", error);
        executableFolder = error ? fs::current_path(error) : self.parent_path();
    }
    // An installed program (its shared files beside its bin folder) never writes among the
    // system's programs, not even when root runs it.
    const bool installed = fs::exists(executableFolder / ".." / "share" / "quintor", error);
    if (s.userData && (installed || ::access(executableFolder.c_str(), W_OK) != 0))
        return *s.userData;
    return executableFolder;
}

void setUserDataFolder(const fs::path& folder) {
    if (folder.empty())
        sources().userData.reset();
    else
        sources().userData = folder;
}

namespace {

// The programs of folder that have a description, in name order, entered in the function list.
void enterDescribedPrograms(const fs::path& folder) {
    std::vector<fs::path> programs;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file() && isRunnableFile(it->path()))
            programs.push_back(it->path());
    std::sort(programs.begin(), programs.end());
    UserFunctionList list;
    for (const fs::path& program : programs) {
        const std::string name = program.filename().string();
        const auto description = readDescription(folder, name);
        if (description && !description->caption.empty())
            addUserFunction(folder, name, description->caption, list);
    }
}

} // namespace

bool copyExamples(const std::vector<fs::path>& exampleFolders, const fs::path& folder) {
    bool ok = true;
    for (const fs::path& examples : exampleFolders) {
        std::error_code error;
        for (fs::directory_iterator it(examples, error), end; !error && it != end;
             it.increment(error)) {
            const fs::path target = folder / it->path().filename();
            std::error_code ignored;
            // Saved like every other file: a start killed half-way leaves no half a program.
            if (it->is_regular_file(ignored) && !fs::exists(target, ignored))
                ok = copyFileContents(it->path(), target) && ok;
        }
    }
    return ok;
}

FolderPreparation prepareProgramFolder(const std::vector<fs::path>& exampleFolders,
                                       std::chrono::sys_days today) {
    FolderPreparation result;
    const fs::path folder = programFolder();
    std::error_code error;
    if (fs::exists(findFileNoCase(folder, archiveFileName), error))
        return result;
    result.firstStart = true;
    fs::create_directories(folder, error);
    if (error) {
        result.ok = false;
        return result;
    }
    // As many draws as the statistics and the selection want to work on, from a fixed seed.
    result.ok = simulatedArchiveUntil(3000, 1, today).save(folder / archiveFileName).ok();
    result.ok = copyExamples(exampleFolders, folder) && result.ok;
    enterDescribedPrograms(folder);
    return result;
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

std::optional<fs::path> existingFileNoCase(const fs::path& file) {
    if (file.filename().empty())
        return std::nullopt;
    const fs::path folder = file.parent_path();
    const fs::path found =
        findFileNoCase(folder.empty() ? fs::path(".") : folder, file.filename().string());
    std::error_code error;
    // A dangling link counts: a save through it would write the file it names.
    if (!fs::exists(fs::symlink_status(found, error)))
        return std::nullopt;
    return folder.empty() ? found.filename() : found;
}

} // namespace quintor

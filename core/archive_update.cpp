#include "core/archive_update.h"

#include "core/program_folder.h"

#include <system_error>

namespace quintor {

std::optional<std::filesystem::path> findUpdateFile(const std::filesystem::path& folder) {
    const auto path = findFileNoCase(folder, updateFileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    return path;
}

std::filesystem::path freeUpdateArchiveName(const std::filesystem::path& folder,
                                            RandomGenerator& random) {
    while (true) {
        std::string name = "AGG";
        for (int i = 0; i < 5; ++i)
            name += static_cast<char>('0' + random.next(9));
        name += ".dat";
        const auto path = findFileNoCase(folder, name);
        std::error_code error;
        if (!std::filesystem::exists(path, error) && !error)
            return path;
    }
}

Expected<UpdateOutcome> mergeUpdateFile(Archive& archive, const std::filesystem::path& folder,
                                        RandomGenerator& random) {
    // The update file was there when the user was asked: gone now, another program took it.
    UpdateOutcome taken;
    taken.takenByAnotherProgram = true;
    const auto update = findUpdateFile(folder);
    if (!update)
        return taken;
    auto draws = readDrawFile(*update);
    if (!draws) {
        std::error_code error;
        if (!std::filesystem::exists(*update, error) && !error)
            return taken;
        return Failure{draws.error()};
    }
    const Archive before = archive;
    UpdateOutcome outcome;
    const RealDrawsMerge merged = mergeReplacingSimulated(archive, draws->draws);
    outcome.counts = merged.counts;
    outcome.simulatedReplaced = merged.simulatedReplaced;
    outcome.counts.rejected += draws->rejected;
    // Saved before the rename: when the save fails the update file is still offered next time.
    auto saved = archive.save(findFileNoCase(folder, archiveFileName));
    if (!saved) {
        archive = before;
        return Failure{saved.error()};
    }
    outcome.renamedTo = freeUpdateArchiveName(folder, random);
    std::error_code error;
    std::filesystem::rename(*update, outcome.renamedTo, error);
    if (error) {
        // Merged and saved; offered again, it would add nothing. Already renamed by another
        // program that merged it too: nothing is wrong.
        outcome.renamedTo.clear();
        std::error_code ignored;
        outcome.takenByAnotherProgram = !std::filesystem::exists(*update, ignored) && !ignored;
    }
    return outcome;
}

} // namespace quintor

#pragma once

#include "core/archive.h"
#include "core/random.h"

#include <filesystem>
#include <optional>

namespace quintor {

inline constexpr const char* updateFileName = "aggiorna.dat";

// The automatic update from "aggiorna.dat" in folder: merges it into archive, saves the
// archive to folder's "vincenti.dat", then renames the update file to "AGG" + five random
// digits 0..8 + ".dat", drawing again while that name is taken. When the save fails the
// archive is left as it was and the update file keeps its name. Real draws replace the
// simulated archive of a first start, as every other merge does: statistics over simulated
// and real draws together would describe neither. Another copy of the program started on the
// same folder may merge and rename the file first: then nothing is done and nothing went
// wrong (takenByAnotherProgram).
struct UpdateOutcome {
    MergeCounts counts;
    std::size_t simulatedReplaced = 0;
    std::filesystem::path renamedTo;
    bool takenByAnotherProgram = false;
};
std::optional<std::filesystem::path> findUpdateFile(const std::filesystem::path& folder);
Expected<UpdateOutcome> mergeUpdateFile(Archive& archive, const std::filesystem::path& folder,
                                        RandomGenerator& random);
std::filesystem::path freeUpdateArchiveName(const std::filesystem::path& folder,
                                            RandomGenerator& random);

} // namespace quintor

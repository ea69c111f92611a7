#include "core/archive.h"
#include "fuzz_input.h"

#include <cstdlib>

// aggiorna.dat of any content merged into a small archive: the saved archive is the merged
// one, only real draws were added, and the update file was renamed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto update = fuzzFile("aggiorna.dat", data, size);
    const auto folder = update.parent_path();
    static const quintor::Archive start = quintor::simulatedArchive(20, 3);
    quintor::Archive archive = start;
    if (!archive.save(folder / quintor::archiveFileName))
        std::abort();
    quintor::RandomGenerator random(1);
    auto outcome = quintor::mergeUpdateFile(archive, folder, random);
    if (!outcome)
        return 0;
    if (archive.size() != start.size() + outcome->counts.added ||
        quintor::Archive::load(folder / quintor::archiveFileName).fileBytes() !=
            archive.fileBytes())
        std::abort();
    for (std::size_t i = 0; i < archive.size(); ++i)
        if (!archive[i].isValidDraw())
            std::abort();
    if (outcome->renamedTo.empty() && !outcome->takenByAnotherProgram)
        std::abort();
    std::filesystem::remove(outcome->renamedTo);
    return 0;
}

#include "core/recent_files.h"
#include "fuzz_input.h"

#include <cstdlib>

// A damaged list never breaks loading, adding or saving, and what is saved loads back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile("QUIN_LST.CFG", data, size);
    quintor::RecentFiles list = quintor::RecentFiles::load(file);
    if (list.count < 0)
        std::abort();
    for (const auto& entry : list.entries)
        if (entry.size() > 255)
            std::abort();
    for (int k = 0; k < 6; ++k)
        if (list.entryInUse(k))
            (void)quintor::recentMenuCaption(list.entries[static_cast<std::size_t>(k)], list);
    list.add("/tmp/fuzz/Sistem1.Qtr");
    if (!list.contains("/tmp/fuzz/Sistem1.Qtr") || !list.save(file))
        std::abort();
    const quintor::RecentFiles again = quintor::RecentFiles::load(file);
    if (again.count != list.count || again.entries != list.entries)
        std::abort();
    return 0;
}

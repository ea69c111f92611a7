#include "core/user_functions.h"
#include "fuzz_input.h"

#include <cstdlib>

namespace {

bool sameEntries(const quintor::UserFunctionList& a, const quintor::UserFunctionList& b) {
    if (a.entries.size() != b.entries.size())
        return false;
    for (std::size_t i = 0; i < a.entries.size(); ++i)
        if (a.entries[i].program != b.entries[i].program ||
            a.entries[i].caption != b.entries[i].caption)
            return false;
    return true;
}

} // namespace

// funzioni.ute of any content: the list read never exceeds the menu, reads the same from the
// file as from the text, and saves to a file that reads back as the same list. Adding a
// function to it either fails leaving the file alone or adds exactly that function.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile(quintor::userFunctionListName, data, size);
    const auto folder = file.parent_path();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto list = quintor::UserFunctionList::load(folder);
    if (list.entries.size() > static_cast<std::size_t>(quintor::maxUserFunctions) ||
        !sameEntries(list, quintor::UserFunctionList::parse(text)))
        std::abort();

    // Entries read from a file may hold bytes the add refuses; only the file's reading is
    // checked for those.
    bool clean = true;
    for (const auto& entry : list.entries)
        clean = clean && entry.caption.find('\r') == std::string::npos &&
                entry.program.find('\r') == std::string::npos;
    if (!list.save(folder))
        std::abort();
    const auto saved = quintor::UserFunctionList::load(folder);
    if (clean && !sameEntries(saved, list))
        std::abort();

    quintor::UserFunctionList after;
    const auto before = saved;
    const auto outcome = quintor::addUserFunction(folder, "nuova.sh", "Nuova funzione", after);
    const auto reread = quintor::UserFunctionList::load(folder);
    if (!sameEntries(reread, after))
        std::abort();
    if (outcome == quintor::AddOutcome::Added) {
        if (after.entries.size() != before.entries.size() + 1 ||
            after.entries.back().program != "nuova.sh")
            std::abort();
    } else if (!sameEntries(after, before)) {
        std::abort();
    }
    return 0;
}

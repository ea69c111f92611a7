#include "core/column_editing.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

// The keyboard-entry and modify dialogs' texts: parseTypedColumn gives board numbers or zeros,
// and a modify that succeeds leaves exactly its result in the list, marked modified.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quintor::TypedColumn typed = quintor::parseTypedColumn(text);
    if (!std::all_of(typed.column.begin(), typed.column.end(),
                     [](std::uint8_t n) { return n == 0 || quintor::isBoardNumber(n); }))
        std::abort();

    quintor::SystemState state;
    state.finalColumns = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    const auto modified = quintor::modifyColumn(state, 1, text);
    if (modified) {
        if (state.finalColumns[1] != *modified || !state.modified)
            std::abort();
    } else if (state.finalColumns[1] != quintor::Column{7, 8, 9, 10, 11, 12} || state.modified) {
        std::abort();
    }
    return 0;
}

#include "core/column_editing.h"
#include "core/conversions.h"

#include <cstdlib>
#include <string>
#include <string_view>

// Typed integers: whatever is accepted prints back to the same value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& value : {quintor::parseIntegerIgnoringBlanks(text),
                              quintor::parseInteger(text), quintor::parseTypedInteger(text)})
        if (value) {
            const auto again = quintor::parseInteger(std::to_string(*value));
            if (!again || *again != *value)
                std::abort();
        } else if (value.error().empty()) {
            std::abort();
        }
    return 0;
}

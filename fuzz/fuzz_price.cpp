#include "core/column_price.h"

#include <cstdlib>
#include <string_view>

// A typed column price is accepted only as a number that the dialog can show again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto price = quintor::parseColumnPrice(text);
    if (price ? quintor::columnPriceText(*price).empty()
              : price.error() != quintor::invalidPriceMessage)
        std::abort();
    return 0;
}

#include "core/conversions.h"

#include <cstdlib>
#include <string_view>

// Typed dates: an accepted date is a real day, and its text reads back as the same day.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto date = quintor::parseDate(text);
    if (!date)
        return date.error().empty() ? (std::abort(), 0) : 0;
    if (!date->ok())
        std::abort();
    const int year = static_cast<int>(date->year());
    if (year >= 1000 && year <= 9999) {
        const auto again = quintor::parseDate(quintor::formatDate(*date));
        if (!again || *again != *date)
            std::abort();
    }
    return 0;
}

#include "core/column_price.h"

#include "core/conversions.h"

#include <charconv>

namespace quintor {

std::string columnPriceText(const Real48& price) {
    // to_chars ignores the C locale, which a Qt program sets from the environment.
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, price.value(), std::chars_format::fixed, 2);
    if (error != std::errc{})
        return "0.00";
    return std::string(buffer, end);
}

Expected<Real48> parseColumnPrice(std::string_view text) {
    const auto value = parseReal(text);
    if (!value || !(*value >= 0))
        return Failure{invalidPriceMessage};
    const auto price = Real48::tryFromValue(*value);
    if (!price)
        return Failure{invalidPriceMessage};
    return *price;
}

} // namespace quintor

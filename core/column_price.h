#pragma once

#include "core/expected.h"
#include "core/real48.h"

#include <string>
#include <string_view>

namespace quintor {

inline constexpr const char* invalidPriceMessage =
    "Il valore inserito non è valido !\rCorreggere e riprovare.";

// The price as the dialog shows it: two decimals, "." as separator, whatever the locale.
std::string columnPriceText(const Real48& price);

// A typed price; refused with invalidPriceMessage when the text is no number, the value is
// negative or it does not fit a Real48.
Expected<Real48> parseColumnPrice(std::string_view text);

} // namespace quintor

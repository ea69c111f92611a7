#pragma once

#include "core/expected.h"

#include <chrono>
#include <string>
#include <string_view>

namespace quintor {

// The runtime's conversion messages, shown to the user as they stand.
std::string invalidIntegerMessage(std::string_view text);
std::string invalidDateMessage(std::string_view text);
std::string invalidRealMessage(std::string_view text);

// Day/month/year with two-digit day and month: "03/01/2001".
std::string formatDate(std::chrono::year_month_day date);

// Blanks removed, then an optional sign and decimal digits within 32 bits.
Expected<int> parseIntegerIgnoringBlanks(std::string_view text);

// Blanks removed, then day/month/year; a one- or two-digit year is the latest year ending in
// those digits that is not after the current one.
Expected<std::chrono::year_month_day> parseDate(std::string_view text);

// The integer conversion itself, without removing blanks (pieces of typed columns).
Expected<int> parseInteger(std::string_view text);

// A typed real: leading blanks, an optional sign, digits with at most one "." among or after
// them (".5" and "5." both count), an optional exponent (E or e, optional sign, digits), and
// nothing after. A comma, a trailing blank, a sign alone or an empty text are refused.
Expected<long double> parseReal(std::string_view text);

// The text with every blank taken out.
std::string removeBlanks(std::string_view text);

} // namespace quintor

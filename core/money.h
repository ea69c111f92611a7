#pragma once

#include "core/real48.h"

#include <string>

namespace quintor {

// An amount of lire with no decimals, halves away from zero, and "." between groups of
// three digits: 1234567 -> "1.234.567", -800000 -> "-800.000".
std::string moneyText(long double amount);

// The cost label of the final columns: "Costo: 8.000 £".
std::string costText(const Real48& columnPrice, std::size_t columnCount);

} // namespace quintor

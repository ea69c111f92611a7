#include "core/money.h"

#include <cmath>
#include <cstdio>

namespace quintor {

std::string moneyText(long double amount) {
    const long double rounded = std::round(amount); // halves away from zero
    // Every digit of the amount, however many: a sum of prizes or costs can pass 10^63.
    const int length = std::snprintf(nullptr, 0, "%.0Lf", rounded);
    if (length <= 0)
        return "0";
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.0Lf", rounded);
    text.resize(static_cast<std::size_t>(length));
    const bool negative = !text.empty() && text.front() == '-';
    std::string digits = negative ? text.substr(1) : text;
    if (digits == "0")
        return "0";
    std::string grouped;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += '.';
        grouped += digits[i];
    }
    return negative ? "-" + grouped : grouped;
}

std::string costText(const Real48& columnPrice, std::size_t columnCount) {
    return "Costo: " + moneyText(columnPrice.value() * static_cast<long double>(columnCount)) +
           " £";
}

} // namespace quintor

#include "cli/commands.h"

#include "core/column.h"
#include "core/print_settings.h"
#include "core/system_file.h"

#include <charconv>
#include <iostream>
#include <span>
#include <string>

namespace quintor::cli {

namespace {

std::string fixedDecimals(long double value, int decimals) {
    char buffer[128];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return error == std::errc{} ? std::string(buffer, end) : std::string{};
}

void printValues(const char* label, std::span<const Real48> values) {
    std::cout << label << ':';
    for (const Real48& value : values)
        std::cout << ' ' << layoutValueText(value);
    std::cout << '\n';
}

} // namespace

int runShow(const Arguments& args) {
    if (!positionalArguments(args, {}) || args.size() != 1)
        return usage("show FILE.qtr");
    SystemState state;
    if (!readSystemFile(args[0], state))
        return refuse(systemReadErrorMessage);

    const std::vector<int> marked = state.markedNumbers();
    std::cout << "segni:";
    for (int n : marked)
        std::cout << ' ' << n;
    std::cout << "\nfisse:";
    for (int k = 0; k < state.usableFixedCount(); ++k)
        std::cout << ' ' << static_cast<int>(state.fixedNumbers[static_cast<std::size_t>(k)]);
    std::cout << "\nprobabilita:";
    for (int n : marked)
        std::cout << ' ' << n << '='
                  << fixedDecimals(state.probabilities[static_cast<std::size_t>(n)].value(), 5);
    std::cout << '\n';
    printValues("verticale", state.layout.vertical);
    printValues("orizzontale", state.layout.horizontal);
    std::cout << "colonne: " << state.finalColumns.size() << '\n';
    for (const Column& column : state.finalColumns)
        std::cout << formatColumn(column) << '\n';
    return ok;
}

} // namespace quintor::cli

#include "cli/cli_common.h"

#include <algorithm>
#include <iostream>

namespace quintor::cli {

void note(std::string_view message) {
    std::string text(message);
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::cerr << text << '\n';
}

int refuse(std::string_view message) {
    note(message);
    return refused;
}

int usage(std::string_view text) {
    std::cerr << "uso: quintor-cli " << text << '\n';
    return usageError;
}

const std::string* optionValue(const Arguments& args, std::string_view name) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name)
            return &args[i + 1];
    return nullptr;
}

std::vector<const std::string*> optionValues(const Arguments& args, std::string_view name) {
    std::vector<const std::string*> values;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name)
            values.push_back(&args[++i]);
    return values;
}

bool hasFlag(const Arguments& args, std::string_view name) {
    return std::find(args.begin(), args.end(), name) != args.end();
}

} // namespace quintor::cli

#include "cli/cli_common.h"

#include "core/conversions.h"

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

int finishOutput(int status) {
    std::cout.flush();
    if (status == ok && !std::cout)
        return refuse("Impossibile scrivere i risultati sull'uscita standard.\rIl disco potrebbe "
                      "essere pieno.");
    return status;
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

std::optional<Arguments> positionalArguments(const Arguments& args,
                                             std::initializer_list<std::string_view> withValue,
                                             std::initializer_list<std::string_view> flags) {
    auto among = [](std::initializer_list<std::string_view> names, const std::string& word) {
        return std::find(names.begin(), names.end(), word) != names.end();
    };
    Arguments positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!word.starts_with("--")) {
            positional.push_back(word);
        } else if (among(withValue, word)) {
            if (i + 1 >= args.size() || args[i + 1].starts_with("--"))
                return std::nullopt;
            ++i;
        } else if (!among(flags, word)) {
            return std::nullopt;
        }
    }
    return positional;
}

std::optional<std::pair<int, int>> guaranteeAfter(const Arguments& args, std::string_view name) {
    for (std::size_t i = 0; i + 2 < args.size(); ++i)
        if (args[i] == name) {
            const auto t = parseInteger(args[i + 1]);
            const auto m = parseInteger(args[i + 2]);
            if (!t || !m)
                return std::nullopt;
            return std::pair{*t, *m};
        }
    return std::nullopt;
}

} // namespace quintor::cli

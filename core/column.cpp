#include "core/column.h"

#include "core/conversions.h"

#include <cctype>

namespace quintor {

std::string formatColumn(const Column& column) {
    std::string text;
    text.reserve(columnTextLength);
    for (std::size_t i = 0; i < column.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += twoDigitText(column[i]);
    }
    return text;
}

std::string twoDigitText(int number) {
    std::string digits = std::to_string(number);
    return number >= 0 && number < 10 ? " " + digits : digits;
}

Column readColumnFields(std::string_view text) {
    static constexpr int fieldStart[6] = {0, 3, 6, 9, 12, 15};
    static constexpr int fieldLength[6] = {3, 3, 3, 3, 3, 2};
    Column column{};
    for (int k = 0; k < 6; ++k) {
        const std::size_t start = static_cast<std::size_t>(fieldStart[k]);
        std::string_view field = start < text.size()
                                     ? text.substr(start, static_cast<std::size_t>(fieldLength[k]))
                                     : std::string_view{};
        std::size_t i = 0;
        while (i < field.size() && field[i] == ' ')
            ++i;
        unsigned value = 0;
        while (i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])))
            value = value * 10 + static_cast<unsigned>(field[i++] - '0');
        column[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value);
    }
    return column;
}

Expected<Column> parseColumn(std::string_view text, const Column& previous) {
    // Runs of blanks become one blank, and the text starts with a blank: every blank then
    // introduces one number. Trailing blanks introduce nothing.
    std::string squeezed = " ";
    for (char c : text) {
        if (c == ' ' && squeezed.back() == ' ')
            continue;
        squeezed += c;
    }
    while (squeezed.size() > 1 && squeezed.back() == ' ')
        squeezed.pop_back();

    Column column = previous;
    std::size_t found = 0;
    for (std::size_t i = 0; i < squeezed.size() && found < column.size(); ++i) {
        if (squeezed[i] != ' ' || i + 1 >= squeezed.size())
            continue;
        std::string piece(1, squeezed[i + 1]);
        if (i + 2 < squeezed.size() && squeezed[i + 2] != ' ')
            piece += squeezed[i + 2];
        auto number = parseInteger(piece);
        if (!number)
            return Failure{number.error()};
        column[found++] = static_cast<std::uint8_t>(*number);
    }
    return column;
}

} // namespace quintor

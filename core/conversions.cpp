#include "core/conversions.h"

#include <charconv>
#include <cstdint>
#include <vector>

namespace quintor {

std::string invalidIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string invalidDateMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid date";
}

std::string removeBlanks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            result += c;
    return result;
}

std::string formatDate(std::chrono::year_month_day date) {
    const unsigned day = static_cast<unsigned>(date.day());
    const unsigned month = static_cast<unsigned>(date.month());
    auto twoDigits = [](unsigned v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return twoDigits(day) + "/" + twoDigits(month) + "/" +
           std::to_string(static_cast<int>(date.year()));
}

Expected<int> parseInteger(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return Failure{invalidIntegerMessage(text)};
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return Failure{invalidIntegerMessage(text)};
        value = value * 10 + (c - '0');
        if (value > std::int64_t{INT32_MAX} + 1)
            return Failure{invalidIntegerMessage(text)};
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return Failure{invalidIntegerMessage(text)};
    return static_cast<int>(value);
}

std::string invalidRealMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

namespace {

// Digits with at most one point among them, then an optional exponent: the length of that form
// at the start of text; 0 when it has no digit or its exponent none.
std::size_t realFormLength(std::string_view text) {
    std::size_t i = 0;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponentStart = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9')
            ++j;
        if (j == exponentStart)
            return 0;
        i = j;
    }
    return i;
}

} // namespace

Expected<long double> parseReal(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // Check the grammar by hand: from_chars alone would take a prefix and ignore the rest.
    const std::size_t length = realFormLength(rest);
    if (length == 0 || length != rest.size())
        return Failure{invalidRealMessage(text)};
    long double value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error != std::errc{} || end != rest.data() + rest.size())
        return Failure{invalidRealMessage(text)};
    return negative ? -value : value;
}

Expected<int> parseIntegerIgnoringBlanks(std::string_view text) {
    return parseInteger(removeBlanks(text));
}

namespace {

// Every date typed is that of a past draw: a short year is the latest year ending in its
// digits that is not after the current one ("98" is 1998, not 2098).
int recentYearEndingIn(int shortYear) {
    const std::chrono::year_month_day today{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    const int current = static_cast<int>(today.year());
    const int year = current - current % 100 + shortYear;
    return year > current ? year - 100 : year;
}

} // namespace

Expected<std::chrono::year_month_day> parseDate(std::string_view text) {
    const std::string compact = removeBlanks(text);
    std::vector<int> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = compact.find('/', start);
        const std::string_view piece = std::string_view(compact).substr(
            start, slash == std::string::npos ? slash : slash - start);
        int value = 0;
        const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
        if (piece.empty() || piece.size() > 4 || error != std::errc{} ||
            end != piece.data() + piece.size())
            return Failure{invalidDateMessage(compact)};
        if (piece.size() <= 2 && parts.size() == 2)
            value = recentYearEndingIn(value);
        parts.push_back(value);
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    if (parts.size() != 3 || parts[2] < 1)
        return Failure{invalidDateMessage(compact)};
    const std::chrono::year_month_day date{std::chrono::year{parts[2]},
                                           std::chrono::month{static_cast<unsigned>(parts[1])},
                                           std::chrono::day{static_cast<unsigned>(parts[0])}};
    if (parts[0] < 1 || parts[1] < 1 || !date.ok())
        return Failure{invalidDateMessage(compact)};
    return date;
}

} // namespace quintor

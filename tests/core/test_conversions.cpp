#include "core/column.h"
#include "core/conversions.h"

#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>

using namespace quintor;
using namespace std::chrono;

namespace {

// A text and what a reading of it gives: a value, or a failure (with this message when one is
// given).
template <class T> struct Reading {
    const char* text;
    std::optional<T> value;
    const char* error = nullptr;
};

template <class T, class Read> void checkReadings(std::span<const Reading<T>> rows, Read read) {
    for (const auto& row : rows) {
        SCOPED_TRACE('"' + std::string(row.text) + '"');
        const auto got = read(row.text);
        ASSERT_EQ(got.ok(), row.value.has_value());
        if (row.value) {
            EXPECT_EQ(*got, *row.value);
        } else if (row.error) {
            EXPECT_EQ(got.error(), row.error);
        }
    }
}

} // namespace

TEST(ColumnText, WritesTwoCharactersPerNumber) {
    const std::pair<Column, const char*> columns[] = {
        {{3, 14, 25, 36, 47, 58}, " 3 14 25 36 47 58"},
        {{1, 2, 3, 4, 5, 6}, " 1  2  3  4  5  6"},
        {{85, 86, 87, 88, 89, 90}, "85 86 87 88 89 90"},
        {{90, 9, 10, 1, 99, 0}, "90  9 10  1 99  0"},
    };
    for (const auto& [column, text] : columns)
        EXPECT_EQ(formatColumn(column), text);
    const std::pair<int, const char*> numbers[] = {{0, " 0"}, {9, " 9"}, {10, "10"}, {99, "99"}};
    for (const auto& [number, text] : numbers)
        EXPECT_EQ(twoDigitText(number), text) << number;
}

TEST(ColumnText, FixedFieldsReadBackEveryColumnText) {
    // Every board number in every position survives text and back.
    for (int n = 1; n <= 90; ++n) {
        const auto b = static_cast<std::uint8_t>(n);
        const Column column{b, static_cast<std::uint8_t>(91 - n), b, 1, 90, b};
        EXPECT_EQ(readColumnFields(formatColumn(column)), column) << n;
    }
    // Leading blanks skipped, digits read up to the first other character, none gives 0.
    const std::pair<const char*, Column> texts[] = {
        {"  x14 25 36 47 58", {0, 14, 25, 36, 47, 58}},
        {"1 2", {1, 0, 0, 0, 0, 0}},
        {"", {}},
        {" 5a 6", {5, 6, 0, 0, 0, 0}},
        {" 1  2  3  4  567", {1, 2, 3, 4, 56, 7}},
        {" 1  2  3  4  5  6789", {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& [text, column] : texts)
        EXPECT_EQ(readColumnFields(text), column) << '"' << text << '"';
}

TEST(ColumnText, FreeTextReadsBlankSeparatedPieces) {
    const Column previous{9, 9, 9, 9, 9, 9};
    const Column expected{5, 12, 33, 45, 67, 89};
    const Reading<Column> rows[] = {
        {"5 12 33 45 67 89", expected},
        {"5 12 33 45 67 89 ", expected},
        {"   5   12 33  45 67 89   ", expected},
        {" 5 12 33 45 67 89 1 2", expected},
        // Missing numbers keep what the bytes held; the typed order is kept.
        {"3 2 1", Column{3, 2, 1, 9, 9, 9}},
        {"", previous},
        {"   ", previous},
        // A piece is at most two characters after its blank.
        {"1234 5 6 7 8", Column{12, 5, 6, 7, 8, 9}},
        // A piece that is no number refuses the whole text.
        {"5 x 7", std::nullopt, "'x' is not a valid integer value"},
        {"5 1a 7", std::nullopt, "'1a' is not a valid integer value"},
        {"5,6 7", std::nullopt},
    };
    checkReadings<Column>(rows, [&](const char* text) { return parseColumn(text, previous); });
}

TEST(Conversions, DatesAsDayMonthYear) {
    const std::pair<year_month_day, const char*> written[] = {
        {2001y / January / 3d, "03/01/2001"},
        {2024y / December / 25d, "25/12/2024"},
        {1999y / October / 10d, "10/10/1999"},
    };
    for (const auto& [date, text] : written)
        EXPECT_EQ(formatDate(date), text);
    const Reading<year_month_day> rows[] = {
        {"3/1/2001", 2001y / January / 3d},
        {" 03 / 01 / 2001 ", 2001y / January / 3d},
        {"29/2/2024", 2024y / February / 29d},
        {"31/ 2/2001", std::nullopt, "'31/2/2001' is not a valid date"},
        {"29/2/2023", std::nullopt},
        {"31/4/2020", std::nullopt},
        {"1/13/2001", std::nullopt},
        {"0/1/2001", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"1/1", std::nullopt},
        {"1/1/2001/5", std::nullopt},
        {"1-1-2001", std::nullopt},
        {"1/1/x", std::nullopt},
    };
    checkReadings<year_month_day>(rows, [](const char* text) { return parseDate(text); });
    // A short year never lies in the future: the dates typed are those of past draws.
    const int thisYear =
        static_cast<int>(year_month_day{floor<days>(std::chrono::system_clock::now())}.year());
    EXPECT_EQ(parseDate("15/6/98")->year(), year{1998});
    EXPECT_EQ(parseDate("1/1/" + std::to_string(thisYear % 100))->year(), year{thisYear});
    // Round trip through the text form.
    for (auto date : {2009y / January / 3d, 2023y / July / 15d, 1997y / December / 31d})
        EXPECT_EQ(*parseDate(formatDate(date)), date);
}

TEST(Conversions, IntegersWithinThirtyTwoBits) {
    const Reading<int> rows[] = {
        {" 1 2 ", 12},
        {"-45", -45},
        {"+7", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt, "'2147483648' is not a valid integer value"},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"1 2a", std::nullopt, "'12a' is not a valid integer value"},
        {"", std::nullopt, "'' is not a valid integer value"},
        {"-", std::nullopt},
        {"1.5", std::nullopt},
    };
    checkReadings<int>(rows, [](const char* text) { return parseIntegerIgnoringBlanks(text); });
    EXPECT_FALSE(parseInteger(" 5").ok()) << "pieces keep their blanks";
}

#include "core/column.h"
#include "core/conversions.h"

#include <gtest/gtest.h>

using namespace quintor;
using namespace std::chrono;

TEST(ColumnText, WritesTwoCharactersPerNumber) {
    EXPECT_EQ(formatColumn({3, 14, 25, 36, 47, 58}), " 3 14 25 36 47 58");
    EXPECT_EQ(formatColumn({1, 2, 3, 4, 5, 6}), " 1  2  3  4  5  6");
    EXPECT_EQ(formatColumn({85, 86, 87, 88, 89, 90}), "85 86 87 88 89 90");
    EXPECT_EQ(formatColumn({90, 9, 10, 1, 99, 0}), "90  9 10  1 99  0");
    EXPECT_EQ(twoDigitText(0), " 0");
    EXPECT_EQ(twoDigitText(9), " 9");
    EXPECT_EQ(twoDigitText(10), "10");
    EXPECT_EQ(twoDigitText(99), "99");
}

TEST(ColumnText, FixedFieldsReadBackEveryColumnText) {
    // Every board number in every position survives text and back.
    for (int n = 1; n <= 90; ++n) {
        const auto b = static_cast<std::uint8_t>(n);
        const Column column{b, static_cast<std::uint8_t>(91 - n), b, 1, 90, b};
        EXPECT_EQ(DAIVET(formatColumn(column)), column) << n;
    }
    // Leading blanks skipped, digits read up to the first other character, none gives 0.
    EXPECT_EQ(DAIVET("  x14 25 36 47 58"), (Column{0, 14, 25, 36, 47, 58}));
    EXPECT_EQ(DAIVET("1 2"), (Column{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(DAIVET(""), (Column{}));
    EXPECT_EQ(DAIVET(" 5a 6"), (Column{5, 6, 0, 0, 0, 0}));
    EXPECT_EQ(DAIVET(" 1  2  3  4  567"), (Column{1, 2, 3, 4, 56, 7}));
    EXPECT_EQ(DAIVET(" 1  2  3  4  5  6789"), (Column{1, 2, 3, 4, 5, 6}));
}

TEST(ColumnText, FreeTextReadsBlankSeparatedPieces) {
    const Column previous{9, 9, 9, 9, 9, 9};
    const Column expected{5, 12, 33, 45, 67, 89};
    EXPECT_EQ(*parseColumn("5 12 33 45 67 89", previous), expected);
    EXPECT_EQ(*parseColumn("5 12 33 45 67 89 ", previous), expected);
    EXPECT_EQ(*parseColumn("   5   12 33  45 67 89   ", previous), expected);
    EXPECT_EQ(*parseColumn(" 5 12 33 45 67 89 1 2", previous), expected);
    // Missing numbers keep what the bytes held; the typed order is kept.
    EXPECT_EQ(*parseColumn("3 2 1", previous), (Column{3, 2, 1, 9, 9, 9}));
    EXPECT_EQ(*parseColumn("", previous), previous);
    EXPECT_EQ(*parseColumn("   ", previous), previous);
    // A piece is at most two characters after its blank.
    EXPECT_EQ(*parseColumn("1234 5 6 7 8", previous), (Column{12, 5, 6, 7, 8, 9}));
}

TEST(ColumnText, FreeTextRefusesPiecesThatAreNoNumber) {
    const Column previous{1, 2, 3, 4, 5, 6};
    const auto letter = parseColumn("5 x 7", previous);
    ASSERT_FALSE(letter.ok());
    EXPECT_EQ(letter.error(), "'x' is not a valid integer value");
    const auto mixed = parseColumn("5 1a 7", previous);
    ASSERT_FALSE(mixed.ok());
    EXPECT_EQ(mixed.error(), "'1a' is not a valid integer value");
    EXPECT_FALSE(parseColumn("5,6 7", previous).ok());
}

TEST(Conversions, DatesAsDayMonthYear) {
    EXPECT_EQ(formatDate(2001y / January / 3d), "03/01/2001");
    EXPECT_EQ(formatDate(2024y / December / 25d), "25/12/2024");
    EXPECT_EQ(formatDate(1999y / October / 10d), "10/10/1999");

    EXPECT_EQ(*parseDate("3/1/2001"), 2001y / January / 3d);
    EXPECT_EQ(*parseDate(" 03 / 01 / 2001 "), 2001y / January / 3d);
    EXPECT_EQ(*parseDate("29/2/2024"), 2024y / February / 29d);
    for (const char* bad : {"29/2/2023", "31/4/2020", "1/13/2001", "0/1/2001", "abc", "", "1/1",
                            "1/1/2001/5", "1-1-2001", "1/1/x"}) {
        EXPECT_FALSE(parseDate(bad).ok()) << '"' << bad << '"';
    }
    EXPECT_EQ(parseDate("31/ 2/2001").error(), "'31/2/2001' is not a valid date");
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
    EXPECT_EQ(*parseIntegerIgnoringBlanks(" 1 2 "), 12);
    EXPECT_EQ(*parseIntegerIgnoringBlanks("-45"), -45);
    EXPECT_EQ(*parseIntegerIgnoringBlanks("+7"), 7);
    EXPECT_EQ(*parseIntegerIgnoringBlanks("2147483647"), 2147483647);
    EXPECT_EQ(*parseIntegerIgnoringBlanks("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseIntegerIgnoringBlanks("2147483648").error(),
              "'2147483648' is not a valid integer value");
    EXPECT_FALSE(parseIntegerIgnoringBlanks("-2147483649").ok());
    EXPECT_FALSE(parseIntegerIgnoringBlanks("99999999999999999999999").ok());
    EXPECT_EQ(parseIntegerIgnoringBlanks("1 2a").error(), "'12a' is not a valid integer value");
    EXPECT_EQ(parseIntegerIgnoringBlanks("").error(), "'' is not a valid integer value");
    EXPECT_FALSE(parseIntegerIgnoringBlanks("-").ok());
    EXPECT_FALSE(parseIntegerIgnoringBlanks("1.5").ok());
    EXPECT_FALSE(parseInteger(" 5").ok()) << "pieces keep their blanks";
}

#include "core/column_editing.h"
#include "core/system_file.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

using namespace quintor;
using quintor::testing::TempFolder;

namespace {

SystemState withMarked(std::initializer_list<int> numbers) {
    SystemState state;
    for (int n : numbers)
        state.marked[static_cast<std::size_t>(n)] = 1;
    return state;
}

// A system file: a header of the given size (the real one is 791 bytes) and the columns.
std::filesystem::path writeSystemFile(const std::filesystem::path& file, std::size_t headerSize,
                                      const std::vector<Column>& columns,
                                      std::size_t trailingBytes = 0) {
    std::ofstream out(file, std::ios::binary);
    const std::string header(headerSize, '\0');
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    for (const Column& c : columns)
        out.write(reinterpret_cast<const char*>(c.data()), 6);
    const std::string tail(trailingBytes, '\x07');
    out.write(tail.data(), static_cast<std::streamsize>(tail.size()));
    return file;
}

} // namespace

TEST(RandomExtraction, SevenNumbersGiveAtMostSixNewColumns) {
    SystemState state = withMarked({3, 17, 22, 45, 60, 71, 88});
    EXPECT_TRUE(extractionFits(state, 6));
    EXPECT_FALSE(extractionFits(state, 7));
    RandomGenerator random(12345);
    EXPECT_EQ(extractRandomColumns(state, 6, random), 6);
    EXPECT_EQ(state.finalColumns.size(), 6u);
    EXPECT_TRUE(state.modified);
    // Six of the seven initial columns are listed, so not even one more fits.
    EXPECT_FALSE(extractionFits(state, 1));
    EXPECT_TRUE(extractionFits(state, 0));
}

TEST(RandomExtraction, ColumnsAreSortedDistinctMarkedAndNeverRepeated) {
    const std::initializer_list<int> marked = {1, 5, 9, 14, 30, 31, 44, 50, 90};
    SystemState state = withMarked(marked);
    const Column typed{9, 5, 1, 14, 30, 31}; // unsorted: a drawn column never equals it
    state.finalColumns.push_back(Column{1, 5, 9, 14, 30, 31});
    state.finalColumns.push_back(typed);
    for (std::uint32_t seed : {0u, 1u, 77u, 4000000000u}) {
        SystemState s = state;
        RandomGenerator random(seed);
        const int count = 80; // C(9,6) = 84, two listed
        ASSERT_TRUE(extractionFits(s, count));
        EXPECT_EQ(extractRandomColumns(s, count, random), count);
        ASSERT_EQ(s.finalColumns.size(), 82u);
        std::set<Column> seen;
        for (std::size_t i = 0; i < s.finalColumns.size(); ++i) {
            const Column& c = s.finalColumns[i];
            EXPECT_TRUE(seen.insert(c).second) << "repeated row " << i;
            if (i < 2)
                continue;
            EXPECT_TRUE(std::is_sorted(c.begin(), c.end()));
            EXPECT_EQ(std::adjacent_find(c.begin(), c.end()), c.end());
            for (std::uint8_t n : c)
                EXPECT_EQ(s.marked[n], 1) << int(n);
        }
    }
}

TEST(RandomExtraction, FollowsTheProgramGeneratorAndDrawsNothingForZero) {
    SystemState a = withMarked({2, 4, 6, 8, 10, 12, 14, 16});
    SystemState b = a;
    RandomGenerator ra(99), rb(99);
    extractRandomColumns(a, 10, ra);
    extractRandomColumns(b, 10, rb);
    EXPECT_EQ(a.finalColumns, b.finalColumns);

    // The first column follows from the generator's first draws: replay them by hand.
    RandomGenerator replay(99);
    const std::vector<int> marked = {2, 4, 6, 8, 10, 12, 14, 16};
    Column first{};
    for (std::size_t j = 0; j < 6; ++j) {
        int n;
        do
            n = marked[static_cast<std::size_t>(replay.next(8))];
        while (std::find(first.begin(), first.begin() + static_cast<long>(j), n) !=
               first.begin() + static_cast<long>(j));
        first[j] = static_cast<std::uint8_t>(n);
    }
    std::sort(first.begin(), first.end());
    EXPECT_EQ(a.finalColumns.front(), first);

    SystemState c = withMarked({2, 4, 6, 8, 10, 12, 14, 16});
    RandomGenerator rc(5);
    EXPECT_EQ(extractRandomColumns(c, 0, rc), 0);
    EXPECT_EQ(extractRandomColumns(c, -3, rc), 0);
    EXPECT_TRUE(c.finalColumns.empty());
    EXPECT_FALSE(c.modified);
}

TEST(RandomExtraction, CountFieldTakesLeadingBlanksAndASignOnly) {
    EXPECT_EQ(*parseTypedInteger("12"), 12);
    EXPECT_EQ(*parseTypedInteger("   7"), 7);
    EXPECT_EQ(*parseTypedInteger("-4"), -4);
    EXPECT_EQ(*parseTypedInteger("+0"), 0);
    for (const char* bad : {"", "   ", "a", "12a", "7 ", "1 2", "+", "3.0", "99999999999"})
        EXPECT_FALSE(parseTypedInteger(bad).ok()) << '"' << bad << '"';
}

TEST(ColumnImport, ReadsWholeRecordsAfterTheHeaderOnly) {
    TempFolder folder;
    const std::vector<Column> three = {
        {1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {90, 1, 45, 3, 2, 60}};
    std::vector<Column> read;

    EXPECT_TRUE(readSystemColumns(writeSystemFile(folder.path() / "a.qtr", 791, three), read));
    EXPECT_EQ(read, three);

    EXPECT_TRUE(readSystemColumns(writeSystemFile(folder.path() / "b.qtr", 791, three, 5), read));
    EXPECT_EQ(read, three) << "a trailing partial record is no column";

    EXPECT_TRUE(readSystemColumns(writeSystemFile(folder.path() / "c.qtr", 791, {}), read));
    EXPECT_TRUE(read.empty());

    // Shorter than the header: no columns at all, not a negative count.
    EXPECT_TRUE(readSystemColumns(writeSystemFile(folder.path() / "d.qtr", 100, {}), read));
    EXPECT_TRUE(read.empty());
    EXPECT_TRUE(readSystemColumns(writeSystemFile(folder.path() / "e.qtr", 0, {}), read));
    EXPECT_TRUE(read.empty());

    EXPECT_FALSE(readSystemColumns(folder.path() / "missing.qtr", read));
    EXPECT_TRUE(read.empty());
}

TEST(ColumnImport, SkipsColumnsAlreadyListedOrRepeatedInTheFile) {
    SystemState state;
    state.finalColumns = {{7, 8, 9, 10, 11, 12}};
    const std::vector<Column> incoming = {
        {1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {6, 5, 4, 3, 2, 1}, {1, 2, 3, 4, 5, 6}};
    EXPECT_EQ(importColumns(state, incoming), 2);
    const std::vector<Column> expected = {
        {7, 8, 9, 10, 11, 12}, {1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1}};
    EXPECT_EQ(state.finalColumns, expected);
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(importQuestion(3),
              "Il sistema specificato contiene 3 colonne.\rSei sicuro di volerle aggiungere ?");
}

TEST(KeyboardEntry, ReadsOneOrTwoCharacterPieces) {
    auto typed = parseTypedColumn("5 12 33 41 60 88");
    EXPECT_EQ(typed.column, (Column{5, 12, 33, 41, 60, 88}));
    EXPECT_FALSE(typed.beep);
    EXPECT_TRUE(isValidTypedColumn(typed.column));

    typed = parseTypedColumn("   88   60 41 33 12 5  ");
    EXPECT_EQ(typed.column, (Column{88, 60, 41, 33, 12, 5}));
    EXPECT_FALSE(typed.beep);

    typed = parseTypedColumn("1234 5 6 7 8");
    EXPECT_EQ(typed.column, (Column{12, 34, 5, 6, 7, 8}));
    EXPECT_FALSE(typed.beep);
}

TEST(KeyboardEntry, StopsWithABeepOnASeventhOrBadPiece) {
    auto typed = parseTypedColumn("1 2 3 4 5 6 7");
    EXPECT_EQ(typed.column, (Column{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(typed.beep);
    EXPECT_TRUE(isValidTypedColumn(typed.column));

    typed = parseTypedColumn("1 2 91 4 5 6");
    EXPECT_EQ(typed.column, (Column{1, 2, 0, 0, 0, 0}));
    EXPECT_TRUE(typed.beep);
    EXPECT_FALSE(isValidTypedColumn(typed.column));

    for (const char* text : {"1 2 0 4 5 6", "1 a 3 4 5 6", "1 2 3 4 5 x9"}) {
        typed = parseTypedColumn(text);
        EXPECT_TRUE(typed.beep) << text;
        EXPECT_FALSE(isValidTypedColumn(typed.column)) << text;
    }

    for (const char* text : {"1 2 3 4 5", "", "1 2 3 4 5 5", "1,2 3 4 5 6"}) {
        typed = parseTypedColumn(text);
        EXPECT_FALSE(isValidTypedColumn(typed.column)) << text;
    }
}

TEST(ListEditing, DeletesTheSelectedRowsAndIgnoresTheHeader) {
    SystemState state;
    for (std::uint8_t i = 1; i <= 5; ++i)
        state.finalColumns.push_back(Column{i, 2, 3, 4, 5, 6});
    EXPECT_FALSE(deleteColumnRows(state, 0, 0)) << "the header row is no column";
    EXPECT_FALSE(deleteColumnRows(state, 6, 9));
    EXPECT_FALSE(state.modified);

    EXPECT_TRUE(deleteColumnRows(state, 2, 3));
    ASSERT_EQ(state.finalColumns.size(), 3u);
    EXPECT_EQ(state.finalColumns[0][0], 1);
    EXPECT_EQ(state.finalColumns[1][0], 4);
    EXPECT_EQ(state.finalColumns[2][0], 5);
    EXPECT_TRUE(state.modified);

    EXPECT_TRUE(deleteColumnRows(state, 0, 99));
    EXPECT_TRUE(state.finalColumns.empty());
}

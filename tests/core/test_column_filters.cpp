#include "core/column_filters.h"
#include "core/system_file.h"
#include "tests/reference/column_filters_reference.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace quintor {
namespace {

Column randomColumn(std::mt19937& random, int highest = 90) {
    std::vector<int> pool(highest);
    std::iota(pool.begin(), pool.end(), 1);
    std::shuffle(pool.begin(), pool.end(), random);
    Column column;
    for (int i = 0; i < 6; ++i)
        column[i] = static_cast<std::uint8_t>(pool[i]);
    return column;
}

// A random set of filters, each one present about half the time, loose enough that some
// columns pass and tight enough that some fail.
ColumnFilters randomFilters(std::mt19937& random) {
    auto coin = [&] { return random() % 2 == 0; };
    auto between = [&](int a, int b) { return a + int(random() % unsigned(b - a + 1)); };
    ColumnFilters f;
    if (coin()) {
        const int a = between(60, 300);
        f.sum = IntRange{a, a + between(0, 200)};
    }
    if (coin()) {
        const int a = between(0, 4);
        f.odd = IntRange{a, a + between(0, 2)};
    }
    if (coin()) {
        const int a = between(0, 4);
        f.low = IntRange{a, a + between(0, 2)};
    }
    if (coin())
        f.perDecade = between(1, 3);
    if (coin())
        f.longestRun = between(1, 3);
    if (coin())
        f.sameEnding = between(1, 2);
    if (coin())
        f.with.push_back({between(1, 90), between(1, 90), between(1, 90)});
    if (coin())
        f.without = {between(1, 90), between(1, 90)};
    if (coin())
        f.archive.push_back({between(0, 5), between(0, 40)});
    return f;
}

std::vector<Column> randomDraws(std::mt19937& random, int count) {
    std::vector<Column> draws;
    for (int i = 0; i < count; ++i)
        draws.push_back(randomColumn(random));
    return draws;
}

TEST(ColumnFilters, AgreeWithTheDefinitionsOnRandomColumns) {
    std::mt19937 random(7);
    int passed = 0, failed = 0;
    for (int round = 0; round < 300; ++round) {
        const ColumnFilters filters = randomFilters(random);
        const auto draws = randomDraws(random, 60);
        const FilterCheck check(filters, draws);
        for (int i = 0; i < 200; ++i) {
            // Draws themselves and near copies of them meet the archive limits' edges.
            Column column = i % 10 == 0 ? draws[random() % draws.size()] : randomColumn(random);
            if (i % 10 == 1) {
                column = draws[random() % draws.size()];
                column[random() % 6] = static_cast<std::uint8_t>(1 + random() % 90);
            }
            const bool expected = reference::passesFilters(filters, draws, column);
            ASSERT_EQ(check.passes(column), expected)
                << ::testing::PrintToString(filterTexts(filters)) << " column "
                << formatColumn(column);
            (expected ? passed : failed) += 1;
        }
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_GT(passed, 1000);
    EXPECT_GT(failed, 1000);
}

TEST(ColumnFilters, ColumnsThatAreNotSixBoardNumbersNeverPass) {
    const FilterCheck none(ColumnFilters{}, {});
    EXPECT_TRUE(none.passes({9, 3, 44, 12, 90, 1}));
    EXPECT_FALSE(none.passes({9, 3, 44, 12, 90, 9}));
    EXPECT_FALSE(none.passes({0, 3, 44, 12, 90, 1}));
    EXPECT_FALSE(none.passes({91, 3, 44, 12, 90, 1}));
}

TEST(ColumnFilters, WalkOverInitialColumnsMatchesTheirOneByOneCheck) {
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        const ColumnFilters filters = randomFilters(random);
        const auto draws = randomDraws(random, 30);
        const FilterCheck check(filters, draws);
        std::vector<int> marked(90);
        std::iota(marked.begin(), marked.end(), 1);
        std::shuffle(marked.begin(), marked.end(), random);
        marked.resize(8 + random() % 9);
        std::sort(marked.begin(), marked.end());

        std::vector<Column> expected;
        const int n = int(marked.size());
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                for (int c = b + 1; c < n; ++c)
                    for (int d = c + 1; d < n; ++d)
                        for (int e = d + 1; e < n; ++e)
                            for (int g = e + 1; g < n; ++g) {
                                const Column column{
                                    std::uint8_t(marked[a]), std::uint8_t(marked[b]),
                                    std::uint8_t(marked[c]), std::uint8_t(marked[d]),
                                    std::uint8_t(marked[e]), std::uint8_t(marked[g])};
                                if (reference::passesFilters(filters, draws, column))
                                    expected.push_back(column);
                            }
        std::vector<Column> walked;
        forEachPassingColumn(check, marked, [&](const Column& column) {
            walked.push_back(column);
            return true;
        });
        ASSERT_EQ(walked, expected) << ::testing::PrintToString(filterTexts(filters));
        EXPECT_EQ(countPassingColumns(check, marked), expected.size());
    }
}

// One text of every form of every filter kind.
constexpr const char* everyFilterForm[] = {
    "somma=100..200", "dispari=2..4", "bassi=1..5", "decina<=2",      "consecutivi<=1",
    "finale<=2",      "con=5,17,80",  "con=3",      "senza=1,90",     "archivio<=3@100",
    "archivio<=4",    "somma=0..540", "bassi=0..6", "consecutivi<=0", "archivio<=0"};

TEST(FilterGrammar, EachTextReadsBackToItself) {
    for (const char* filterText : everyFilterForm) {
        SCOPED_TRACE(filterText);
        ColumnFilters filters;
        ASSERT_TRUE(addFilter(filters, filterText));
        EXPECT_EQ(filterTexts(filters), std::vector<std::string>{filterText});
    }
}

TEST(FilterGrammar, TheFilterLinesReadBackToTheSameFilters) {
    ColumnFilters filters;
    for (const char* filterText : everyFilterForm)
        ASSERT_TRUE(addFilter(filters, filterText)) << filterText;
    std::string lines;
    for (const auto& text : filterTexts(filters))
        lines += text + "\r\n";
    const auto back = parseFilterLines(lines);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, filters);
}

TEST(FilterGrammar, ARepeatedFilterNarrowsOrAdds) {
    // Two texts, and the texts of the filters they make together.
    const std::tuple<const char*, const char*, std::vector<std::string>> rows[] = {
        {"somma=100..200", "somma=150..300", {"somma=150..200"}},
        {"decina<=2", "decina<=1", {"decina<=1"}},
        {"decina<=1", "decina<=2", {"decina<=1"}},
        {"con=1,2", "con=3", {"con=1,2", "con=3"}},
        {"senza=1,2", "senza=2,3", {"senza=1,2,3"}},
        {"archivio<=2@10", "archivio<=3", {"archivio<=2@10", "archivio<=3"}},
    };
    for (const auto& [first, second, texts] : rows) {
        SCOPED_TRACE(std::string(first) + " " + second);
        ColumnFilters filters;
        ASSERT_TRUE(addFilter(filters, first));
        ASSERT_TRUE(addFilter(filters, second));
        EXPECT_EQ(filterTexts(filters), texts);
    }
}

TEST(FilterGrammar, BadTextsAreRefusedNamingTheFilter) {
    const std::pair<const char*, const char*> rows[] = {{"somma=200..100", "somma"},
                                                        {"dispari=1..9", "dispari"},
                                                        {"bassi=a..3", "bassi"},
                                                        {"decina<=", "decina"},
                                                        {"finale<=7", "finale"},
                                                        {"con=0,5", "con"},
                                                        {"senza=", "senza"},
                                                        {"archivio<=2@0", "archivio"},
                                                        {"somma<=100", "Filtro non riconosciuto"},
                                                        {"pari=1..2", "Filtro non riconosciuto"}};
    for (const auto& [filterText, named] : rows) {
        SCOPED_TRACE(filterText);
        ColumnFilters filters;
        const auto added = addFilter(filters, filterText);
        ASSERT_FALSE(added);
        EXPECT_NE(added.error().find(named), std::string::npos) << added.error();
        EXPECT_TRUE(filters.empty());
    }
}

TEST(ColumnFilters, TravelBesideTheSystemFileWithoutChangingIt) {
    quintor::testing::TempFolder folder;
    SystemState system;
    system.toggleMark(5);
    system.finalColumns = {{1, 2, 3, 4, 5, 6}};
    const auto plain = folder / "piano.qtr";
    ASSERT_TRUE(writeSystemFile(plain, system));

    ASSERT_TRUE(addFilter(system.filters, "somma=100..200"));
    ASSERT_TRUE(addFilter(system.filters, "archivio<=3@50"));
    const auto filtered = folder / "filtrato.qtr";
    ASSERT_TRUE(writeSystemFile(filtered, system));
    // The system file itself is byte for byte what a system without filters gives.
    EXPECT_EQ(quintor::testing::readBytes(filtered), quintor::testing::readBytes(plain));

    SystemState back;
    ASSERT_TRUE(readSystemFile(filtered, back));
    EXPECT_EQ(back.filters, system.filters);
    ASSERT_TRUE(readSystemFile(plain, back));
    EXPECT_TRUE(back.filters.empty());

    // Saving without filters leaves no stale filter file that a later load would pick up.
    system.filters = {};
    ASSERT_TRUE(writeSystemFile(filtered, system));
    EXPECT_FALSE(std::filesystem::exists(filterSidecarName(filtered.string())));
}

TEST(ColumnFilters, AnUnknownLineOfTheFilterFileSpoilsOnlyItself) {
    quintor::testing::TempFolder folder;
    SystemState system;
    system.toggleMark(5);
    const auto file = folder / "sistema.qtr";
    ASSERT_TRUE(writeSystemFile(file, system));
    const std::string sidecar = filterSidecarName(file.string());
    quintor::testing::writeText(sidecar, "somma=100..200\r\nprimi<=2\r\n\r\nconsecutivi<=1\r\n");

    SystemState read;
    ASSERT_TRUE(readSystemFile(file, read));
    ColumnFilters expected;
    ASSERT_TRUE(addFilter(expected, "somma=100..200"));
    ASSERT_TRUE(addFilter(expected, "consecutivi<=1"));
    EXPECT_EQ(read.filters, expected);
    ASSERT_EQ(read.unreadFilterLines.size(), 1u);
    EXPECT_EQ(read.unreadFilterLines[0].line, 2u);
    const std::string message = unreadFilterLinesMessage(file, read.unreadFilterLines);
    EXPECT_NE(message.find("riga 2: primi<=2"), std::string::npos) << message;

    // Saved again, with or without the filters it read, the file keeps what it could not read.
    for (bool withFilters : {true, false}) {
        SystemState saved = read;
        if (!withFilters)
            saved.filters = {};
        ASSERT_TRUE(writeSystemFile(file, saved));
        SystemState again;
        ASSERT_TRUE(readSystemFile(file, again));
        EXPECT_EQ(again.filters, saved.filters);
        EXPECT_EQ(again.unreadFilterLines.size(), 1u);
        EXPECT_TRUE(std::filesystem::exists(sidecar));
    }
}

} // namespace
} // namespace quintor

#include "core/archive.h"
#include "core/column_csv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

namespace quintor {
namespace {

TEST(ColumnCsv, EachLineGivesAColumnOrTheReasonItIsRefused) {
    // A line, and the column it gives or why it is refused.
    const std::tuple<const char*, Column, const char*> rows[] = {
        {"1;2;3;4;5;6", {1, 2, 3, 4, 5, 6}, nullptr},
        {"90,7,33,12,45,8", {90, 7, 33, 12, 45, 8}, nullptr},
        {"9\t10\t11 12  13 14", {9, 10, 11, 12, 13, 14}, nullptr},
        {"1 2 3 4 5", {}, "meno di sei numeri"},
        {"1 2 3 4 5 5", {}, "5 è ripetuto"},
        {"1 2 3 4 5 91", {}, "91 non è compreso tra 1 e 90"},
        {"1 2 3 4 5 6 7", {}, "più di sei numeri"},
        {"1 2 x 4 5 6", {}, "\"x\" non è un numero"},
        // A header only counts on the first line; later a word is a refused line.
        {"n1 n2", {}, "\"n1\" non è un numero"},
    };
    for (const auto& [line, column, refused] : rows) {
        SCOPED_TRACE(line);
        const auto file = parseColumnFile(std::string("1 2 3 4 5 6\n") + line);
        ASSERT_TRUE(file);
        if (refused) {
            EXPECT_EQ(file->columns.size(), 1u);
            EXPECT_EQ(file->refusedCount, 1u);
            ASSERT_EQ(file->refused.size(), 1u);
            EXPECT_EQ(file->refused[0].line, 2u);
            EXPECT_EQ(file->refused[0].reason, refused);
            continue;
        }
        EXPECT_EQ(file->refusedCount, 0u);
        ASSERT_EQ(file->columns.size(), 2u);
        EXPECT_EQ(file->columns[1], column);
    }
}

TEST(ColumnCsv, LinesEndAtAnyLineEndAfterAnOptionalHeader) {
    const auto file = parseColumnFile("N1;N2;N3;N4;N5;N6\r\n"
                                      "1;2;3;4;5;6\r\n"
                                      "\r\n"
                                      "90,7,33,12,45,8\n"
                                      "9\t10\t11 12  13 14\r"
                                      "1 2 3 4 5\n"
                                      "1 2 x 4 5 6");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->columns.size(), 3u);
    ASSERT_EQ(file->refused.size(), 2u);
    EXPECT_EQ(file->refused[0].line, 6u);
    EXPECT_EQ(file->refused[1].line, 7u);
    EXPECT_FALSE(parseColumnFile(std::string_view("1 2 3\0 4 5 6", 12)));
}

TEST(ColumnCsv, ImportSkipsListedColumnsAndRepeatsWithinTheFile) {
    SystemState system;
    system.finalColumns = {{1, 2, 3, 4, 5, 6}};
    const auto file = parseColumnFile("1 2 3 4 5 6\n6 5 4 3 2 1\n6 5 4 3 2 1\nbad\n");
    ASSERT_TRUE(file);
    const auto counts = appendColumnFile(system, *file);
    EXPECT_EQ(counts.added, 1u);
    EXPECT_EQ(counts.duplicates, 2u);
    EXPECT_EQ(counts.refused, 1u);
    EXPECT_EQ(system.finalColumns.back(), (Column{6, 5, 4, 3, 2, 1}));

    // What export writes, import reads back in the same order.
    const auto again = parseColumnFile(columnsCsv(system.finalColumns));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->columns, system.finalColumns);
    EXPECT_EQ(parseColumnFile(columnsText(system.finalColumns))->columns, system.finalColumns);
}

TEST(ColumnCsv, ArchiveDrawsRoundTripThroughTheirCsv) {
    const std::filesystem::path real = std::filesystem::path(QUINTOR_SHARED_DATA) / "vincenti.dat";
    if (!std::filesystem::exists(real))
        GTEST_SKIP() << "no real draws at " << real;
    const auto archive = Archive::read(real);
    ASSERT_TRUE(archive);
    const DrawFile back = parseCsvDraws(drawsCsv(archive->records()));
    EXPECT_EQ(back.rejected, 0u);
    ASSERT_EQ(back.draws.size(), archive->size());
    for (std::size_t i = 0; i < back.draws.size(); ++i) {
        EXPECT_EQ(back.draws[i].date, archive->records()[i].date);
        EXPECT_EQ(back.draws[i].column, archive->records()[i].column);
        EXPECT_EQ(back.draws[i].jolly, archive->records()[i].jolly);
    }
}

} // namespace
} // namespace quintor

#include "core/column_filters.h"
#include "core/system_file.h"
#include "tests/support/cli_runner.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

using namespace quintor;
using quintor::testing::runCli;
using quintor::testing::TempFolder;

namespace {

std::string saveSystem(const TempFolder& folder, const std::vector<Column>& columns,
                       int firstMark = 0, int lastMark = -1) {
    SystemState system;
    for (int n = firstMark; n <= lastMark; ++n)
        system.marked[static_cast<std::size_t>(n)] = 1;
    system.finalColumns = columns;
    const auto file = folder / "s.qtr";
    EXPECT_TRUE(writeSystemFile(file, system));
    return file.string();
}

} // namespace

TEST(CliColumns, ExportImportAndFilterTheFinalColumns) {
    TempFolder folder;
    const std::string file = saveSystem(folder, {{5, 1, 9, 33, 90, 12}, {1, 2, 3, 4, 5, 6}});

    const auto csv = runCli({"export", file, "--csv"});
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out, "n1;n2;n3;n4;n5;n6\n5;1;9;33;90;12\n1;2;3;4;5;6\n");
    const auto texts = runCli({"export", file});
    EXPECT_EQ(texts.out, " 5  1  9 33 90 12\n 1  2  3  4  5  6\n");

    quintor::testing::writeText(folder / "in.csv",
                                "n1,n2,n3,n4,n5,n6\n1 2 3 4 5 6\n7;8;9;10;11;12\n7 8 9 10 11 12\n"
                                "1 2 3\n\n");
    const auto imported = runCli({"import", file, (folder / "in.csv").string()});
    EXPECT_EQ(imported.status, 0) << imported.errors;
    EXPECT_EQ(imported.out, "aggiunte: 1, doppie: 2, scartate: 1\n");

    // Keeps, in list order, the columns without two consecutive numbers.
    const auto filtered = runCli(
        {"filter", file, "--filter", "consecutivi<=1", "--out", (folder / "f.qtr").string()});
    EXPECT_EQ(filtered.status, 0) << filtered.errors;
    EXPECT_EQ(filtered.out, " 5  1  9 33 90 12\n");
    EXPECT_EQ(filtered.errors, "scartate: 2\n");
    SystemState written;
    ASSERT_TRUE(readSystemFile(folder / "f.qtr", written));
    EXPECT_EQ(written.finalColumns.size(), 1u);
}

TEST(CliColumns, BadFiltersAndFilesAreRefused) {
    TempFolder folder;
    const std::string file = saveSystem(folder, {{1, 2, 3, 4, 5, 6}}, 1, 10);
    const auto bad = runCli({"filter", file, "--filter", "somma=300..100"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.errors.find("\"somma\""), std::string::npos) << bad.errors;
    // The archive filter needs an archive to read.
    EXPECT_EQ(runCli({"filter", file, "--filter", "archivio<=2"}).status, 64);
    quintor::testing::writeText(folder / "binary.csv", std::string("1 2 3 4 5 6\0", 12));
    EXPECT_EQ(runCli({"import", file, (folder / "binary.csv").string()}).status, 2);

    // No column of 1..10 sums to 300: said before any run, nothing written.
    const auto archive = folder / "a.dat";
    ASSERT_EQ(runCli({"sample-archive", archive.string(), "--draws", "300"}).status, 0);
    const auto before = quintor::testing::fileText(file);
    const auto none = runCli({"select", file, "--archive", archive.string(), "--count", "3",
                              "--filter", "somma=300..400"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.errors.find(noColumnPassesMessage), std::string::npos) << none.errors;
    EXPECT_EQ(quintor::testing::fileText(file), before);
    // The same filter on the final columns: nothing would remain, so nothing is written.
    const auto emptied = runCli({"filter", file, "--filter", "somma=300..400"});
    EXPECT_EQ(emptied.status, 1);
    EXPECT_EQ(emptied.errors, std::string(noColumnPassesMessage) + "\nscartate: 1\n");
    EXPECT_EQ(quintor::testing::fileText(file), before);

    const auto kept = runCli({"select", file, "--archive", archive.string(), "--count", "3",
                              "--filter", "dispari=3..3", "--filter", "consecutivi<=2"});
    ASSERT_EQ(kept.status, 0) << kept.errors;
    ASSERT_EQ(kept.lines.size(), 3u);
    ColumnFilters filters;
    addFilter(filters, "dispari=3..3");
    addFilter(filters, "consecutivi<=2");
    const FilterCheck check(filters, {});
    SystemState selected;
    ASSERT_TRUE(readSystemFile(file, selected));
    for (const Column& column : selected.finalColumns)
        EXPECT_TRUE(check.passes(column)) << formatColumn(column);
}

TEST(CliOutput, ListingThatCannotBeWrittenIsNoSuccess) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TempFolder folder;
    const std::string file = saveSystem(folder, {{1, 2, 3, 4, 5, 6}});
    const auto run = quintor::testing::runProgram(
        "/bin/sh", {"-c", "exec \"$0\" export \"$1\" > /dev/full", QUINTOR_CLI, file});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("Impossibile scrivere"), std::string::npos) << run.errors;
}

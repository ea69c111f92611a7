#include "core/column.h"
#include "core/system_file.h"
#include "tests/support/cli_runner.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include <sys/stat.h>

using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::runCliCommand;
using quintor::testing::TempFolder;

namespace {

std::size_t pdfPages(const std::filesystem::path& file) {
    const auto bytes = quintor::testing::readBytes(file);
    const std::string text(bytes.begin(), bytes.end());
    const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<std::size_t>(std::distance(
        std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()));
}

std::string systemWith(const TempFolder& folder, int columns) {
    SystemState state;
    for (int n : {3, 14, 25, 36, 47, 58, 69})
        state.marked[static_cast<std::size_t>(n)] = 1;
    for (int k = 0; k < columns; ++k)
        state.finalColumns.push_back(
            Column{3, 14, 25, 36, 47, static_cast<std::uint8_t>(50 + k % 40)});
    const auto file = (folder / ("s" + std::to_string(columns) + ".qtr")).string();
    EXPECT_TRUE(writeSystemFile(file, state));
    return file;
}

// The first count columns of six numbers from 10..90 in increasing order: each text differs
// from the others, and none of them reads like a heading.
std::vector<Column> distinctColumns(std::size_t count) {
    std::vector<Column> columns;
    Column column{10, 11, 12, 13, 14, 15};
    while (columns.size() < count) {
        columns.push_back(column);
        int k = 5;
        while (column[static_cast<std::size_t>(k)] == 90 - (5 - k))
            --k;
        ++column[static_cast<std::size_t>(k)];
        for (int j = k + 1; j < 6; ++j)
            column[static_cast<std::size_t>(j)] = column[static_cast<std::size_t>(j - 1)] + 1;
    }
    return columns;
}

// What a reader finds of a listing in a PDF: the column texts in reading order, and how far
// (in points) any of their numbers reaches outside the sheet less the listing's 5 mm margin.
struct ListingRead {
    std::vector<std::string> columns;
    double overflow = 0;
};

ListingRead readListing(const std::filesystem::path& pdf) {
    const CliResult text =
        quintor::testing::runProgram("/usr/bin/pdftotext", {"-raw", "-bbox", pdf.string(), "-"});
    EXPECT_EQ(text.status, 0) << "pdftotext (poppler-utils): " << text.errors;
    const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">(\d\d)</word>)re");
    const double margin = 5 / 25.4 * 72;
    ListingRead read;
    double width = 0;
    double height = 0;
    std::string column;
    std::istringstream lines(text.out);
    for (std::string line; std::getline(lines, line);) {
        std::smatch found;
        if (std::regex_search(line, found, page)) {
            width = std::stod(found[1]);
            height = std::stod(found[2]);
        } else if (std::regex_search(line, found, word)) {
            read.overflow = std::max(
                {read.overflow, margin - std::stod(found[1]), margin - std::stod(found[2]),
                 std::stod(found[3]) - (width - margin), std::stod(found[4]) - (height - margin)});
            column += (column.empty() ? "" : " ") + found[5].str();
            if (column.size() == 17) {
                read.columns.push_back(column);
                column.clear();
            }
        }
    }
    return read;
}

} // namespace

TEST(CliPrint, TheListingPrintsEveryColumnWhole) {
    TempFolder folder;
    const std::vector<Column> columns = distinctColumns(10'000);
    SystemState state;
    state.finalColumns = columns;
    const auto file = (folder / "diecimila.qtr").string();
    ASSERT_TRUE(writeSystemFile(file, state));
    std::vector<std::string> expected;
    for (const Column& column : columns)
        expected.push_back(formatColumn(column));
    const auto pdf = folder / "colonne.pdf";
    // A4, Letter and a sheet of 4800 x 6600 units at 600 dpi.
    for (const char* page : {"A4", "Letter", "203.2x279.4mm"}) {
        SCOPED_TRACE(page);
        const CliResult run = runCliCommand(
            "print", {file, "--layout", "carta", "--pdf", pdf.string(), "--page", page});
        ASSERT_EQ(run.status, 0) << run.errors;
        const ListingRead read = readListing(pdf);
        EXPECT_EQ(read.columns.size(), expected.size());
        EXPECT_TRUE(read.columns == expected);
        // Every line whole inside the part of the sheet a printer prints (half a point for
        // the reader's rounding).
        EXPECT_LE(read.overflow, 0.5);
    }
}

TEST(CliPrint, APageForEverySlipAndTheListingPages) {
    TempFolder folder;
    const std::string file = systemWith(folder, 11);
    const auto pdf = folder / "schedine.pdf";
    for (const char* layout : {"verticale", "orizzontale"}) {
        const CliResult run =
            runCliCommand("print", {file, "--layout", layout, "--pdf", pdf.string()});
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.lines, std::vector<std::string>{"pagine: 3"});
        EXPECT_EQ(pdfPages(pdf), 3u);
    }
    CliResult run =
        runCliCommand("print", {file, "--layout", "verticale", "--pdf", pdf.string(), "--from", "2",
                                "--numero", "--page", "100x150mm", "--resolution", "300"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(pdfPages(pdf), 2u);

    const std::string many = systemWith(folder, 1200);
    run = runCliCommand("print", {many, "--layout", "carta", "--pdf", pdf.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_GT(pdfPages(pdf), 3u);
    EXPECT_EQ(run.lines, std::vector<std::string>{"pagine: " + std::to_string(pdfPages(pdf))});
    run = runCliCommand(
        "print", {many, "--layout", "carta", "--pdf", pdf.string(), "--from", "5", "--to", "5"});
    EXPECT_EQ(run.lines, std::vector<std::string>{"pagine: 1"});
}

TEST(CliPrint, RefusesWhatTheWindowsRefuse) {
    TempFolder folder;
    const std::string file = systemWith(folder, 11);
    const std::string pdf = (folder / "x.pdf").string();
    CliResult run = runCliCommand(
        "print", {file, "--layout", "carta", "--pdf", pdf, "--from", "9", "--to", "3"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "I numeri delle colonne da stampare non rientrano nell'intervallo "
                          "consentito!\nImpossibile stampare.\n");
    run = runCliCommand("print", {file, "--layout", "verticale", "--pdf", pdf, "--from", "4"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "Il nº della schedina da stampare non rientra nell'intervallo consentito "
                          "!\nCorreggere e riprovare.\n");
    EXPECT_FALSE(std::filesystem::exists(pdf));
    // A missing folder, a device that takes no bytes, a pipe no one reads (which would hold
    // the program forever) and a folder are no place for the document.
    const auto pipe = folder / "tubo.pdf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& target : {(folder / "no/x.pdf").string(), std::string("/dev/full"),
                                      pipe.string(), folder.path().string()}) {
        run = runCliCommand("print", {file, "--layout", "verticale", "--pdf", target});
        EXPECT_EQ(run.status, 2) << target;
        EXPECT_EQ(run.errors, "Impossibile scrivere il file PDF specificato !\nControllare il "
                              "nome e la cartella.\n");
        EXPECT_TRUE(run.lines.empty());
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {file, "--layout", "diagonale", "--pdf", pdf},
             {file, "--layout", "verticale"},
             {file, "--layout", "verticale", "--pdf", pdf, "--page", "A7"},
             {file, "--layout", "verticale", "--pdf", pdf, "--page", "0x297mm"},
             {file, "--layout", "verticale", "--pdf", pdf, "--resolution", "tanti"}})
        EXPECT_EQ(runCliCommand("print", args).status, 64) << args[2];
}

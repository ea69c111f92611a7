#include "core/system_file.h"
#include "tests/support/cli_runner.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <regex>

using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::TempFolder;

namespace {

CliResult print(const TempFolder&, const std::vector<std::string>& args) {
    std::vector<std::string> all{"print"};
    all.insert(all.end(), args.begin(), args.end());
    return quintor::testing::runCli(all);
}

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

} // namespace

TEST(CliPrint, APageForEverySlipAndTheListingPages) {
    TempFolder folder;
    const std::string file = systemWith(folder, 11);
    const auto pdf = folder / "schedine.pdf";
    for (const char* layout : {"verticale", "orizzontale"}) {
        const CliResult run = print(folder, {file, "--layout", layout, "--pdf", pdf.string()});
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.lines, std::vector<std::string>{"pagine: 3"});
        EXPECT_EQ(pdfPages(pdf), 3u);
    }
    CliResult run = print(folder, {file, "--layout", "verticale", "--pdf", pdf.string(), "--from",
                                   "2", "--numero", "--page", "100x150mm", "--resolution", "300"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(pdfPages(pdf), 2u);

    const std::string many = systemWith(folder, 1200);
    run = print(folder, {many, "--layout", "carta", "--pdf", pdf.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_GT(pdfPages(pdf), 3u);
    EXPECT_EQ(run.lines, std::vector<std::string>{"pagine: " + std::to_string(pdfPages(pdf))});
    run = print(folder,
                {many, "--layout", "carta", "--pdf", pdf.string(), "--from", "5", "--to", "5"});
    EXPECT_EQ(run.lines, std::vector<std::string>{"pagine: 1"});
}

TEST(CliPrint, RefusesWhatTheWindowsRefuse) {
    TempFolder folder;
    const std::string file = systemWith(folder, 11);
    const std::string pdf = (folder / "x.pdf").string();
    CliResult run =
        print(folder, {file, "--layout", "carta", "--pdf", pdf, "--from", "9", "--to", "3"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "I numeri delle colonne da stampare non rientrano nell'intervallo "
                          "consentito!\nImpossibile stampare.\n");
    run = print(folder, {file, "--layout", "verticale", "--pdf", pdf, "--from", "4"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "Il nº della schedina da stampare non rientra nell'intervallo consentito "
                          "!\nCorreggere e riprovare.\n");
    EXPECT_FALSE(std::filesystem::exists(pdf));
    run = print(folder, {file, "--layout", "verticale", "--pdf", (folder / "no/x.pdf").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(
        run.errors,
        "Impossibile scrivere il file PDF specificato !\nControllare il nome e la cartella.\n");
    EXPECT_TRUE(run.lines.empty());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {file, "--layout", "diagonale", "--pdf", pdf},
             {file, "--layout", "verticale"},
             {file, "--layout", "verticale", "--pdf", pdf, "--page", "A5"},
             {file, "--layout", "verticale", "--pdf", pdf, "--resolution", "tanti"}})
        EXPECT_EQ(print(folder, args).status, 64) << args[2];
}

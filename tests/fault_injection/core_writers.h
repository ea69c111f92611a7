#pragma once

#include "core/backtest.h"
#include "core/column_csv.h"
#include "core/column_filters.h"
#include "tests/core/file_writers.h"

#include <filesystem>
#include <vector>

namespace quintor::testing {

// Every writer of everyFileWriter, and more the windows reach: a system with filters, saved
// as two files, the table of prizes and the CSV exports of the columns and of the draws.
inline std::vector<FileWriter> writersUnderTest() {
    std::vector<FileWriter> writers = everyFileWriter();
    writers.push_back({"Filtrato.Qtr", [](const std::filesystem::path& folder, int variant) {
                           SystemState state;
                           for (int n = 1; n <= 8 + variant; ++n)
                               state.marked[static_cast<std::size_t>(n)] = 1;
                           state.finalColumns.assign(static_cast<std::size_t>(20 + variant),
                                                     Column{1, 2, 3, 4, 5, 6});
                           addFilter(state.filters, variant ? "somma=21..300" : "consecutivi<=1");
                           return writeSystemFile(folder / "Filtrato.Qtr", state);
                       }});
    writers.push_back({prizeFileName, [](const std::filesystem::path& folder, int variant) {
                           PrizeTable prizes = PrizeTable::defaults();
                           prizes.lire[0] += variant;
                           return prizes.save(folder);
                       }});
    writers.push_back({"colonne.csv", [](const std::filesystem::path& folder, int variant) {
                           return exportColumnsFile(
                               folder / "colonne.csv",
                               std::vector<Column>(static_cast<std::size_t>(3 + variant),
                                                   Column{1, 2, 3, 4, 5, 6}));
                       }});
    writers.push_back({"estrazioni.csv", [](const std::filesystem::path& folder, int variant) {
                           return exportDrawsCsv(folder / "estrazioni.csv",
                                                 simulatedArchive(5 + variant, 3).records());
                       }});
    return writers;
}

} // namespace quintor::testing

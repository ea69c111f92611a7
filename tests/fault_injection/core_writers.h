#pragma once

#include "core/backtest.h"
#include "core/column_csv.h"
#include "core/column_filters.h"
#include "core/printer_choice.h"
#include "core/program_folder.h"
#include "core/walk_forward.h"
#include "core/window_places.h"
#include "tests/core/file_writers.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace quintor::testing {

// Every writer of everyFileWriter, and more the windows reach: a system with filters, saved
// as two files, the table of prizes, the CSV exports (columns, draws, back-test, the method
// against chance), the printer chosen, the window places and the examples a first start
// copies.
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
    writers.push_back(
        {"verifica.csv", [](const std::filesystem::path& folder, int variant) {
             const Archive archive = simulatedArchive(20 + variant, 5);
             const std::vector<Column> finals = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
             return exportBacktestCsv(folder / "verifica.csv",
                                      backtest(finals, archive.records(), nullptr, {}, 1),
                                      archive.records());
         }});
    writers.push_back(
        {"metodo-contro-caso.csv", [](const std::filesystem::path& folder, int variant) {
             const Archive archive = simulatedArchive(10, 5);
             WalkForwardResult result;
             for (std::size_t record = 0; record < static_cast<std::size_t>(3 + variant); ++record)
                 result.draws.push_back({record, 10, {1, 0, 0, 0, 0}, 8000});
             return exportWalkForwardCsv(folder / "metodo-contro-caso.csv", result, archive);
         }});
    writers.push_back({printerChoiceName, [](const std::filesystem::path& folder, int variant) {
                           return savePrinterChoice(folder, {"Ufficio", variant ? "Letter" : "A4"});
                       }});
    writers.push_back(
        {windowPlacesName, [](const std::filesystem::path& folder, int variant) {
             return saveWindowPlaces(folder, {{"cornice", {10, 20, 800 + variant, 600}}});
         }});
    // The examples a first start copies: variant 1 brings one more than the folder holds.
    writers.push_back({"esempi", [](const std::filesystem::path& folder, int variant) {
                           const std::filesystem::path examples = folder.parent_path() / "esempi";
                           std::filesystem::create_directories(examples);
                           std::ofstream(examples / "somma.py") << "#!/usr/bin/env python3\n";
                           if (variant)
                               std::ofstream(examples / "pari.sh") << "#!/bin/sh\nexit 0\n";
                           return copyExamples({examples}, folder);
                       }});
    return writers;
}

} // namespace quintor::testing

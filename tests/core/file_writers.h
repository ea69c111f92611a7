#pragma once

#include "core/archive.h"
#include "core/guarantee.h"
#include "core/print_settings.h"
#include "core/recent_files.h"
#include "core/system_file.h"
#include "core/user_functions.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quintor::testing {

// Every file the program writes, each saved with one of two contents (variant 0 or 1) into
// a folder, the way the program saves it.
struct FileWriter {
    std::string file; // its name in the folder
    std::function<bool(const std::filesystem::path& folder, int variant)> save;
};

inline std::vector<FileWriter> everyFileWriter() {
    auto real = [](long double value) { return Real48::fromValue(value); };
    return {
        {"Sistem1.Qtr",
         [](const std::filesystem::path& folder, int variant) {
             SystemState state;
             state.marked[static_cast<std::size_t>(variant + 1)] = 1;
             state.finalColumns.assign(static_cast<std::size_t>(50 + variant * 900),
                                       Column{1, 2, 3, 4, 5, 6});
             return writeSystemFile(folder / "Sistem1.Qtr", state);
         }},
        {archiveFileName,
         [](const std::filesystem::path& folder, int variant) {
             return simulatedArchive(variant == 0 ? 40 : 400, 7)
                 .save(folder / archiveFileName)
                 .ok();
         }},
        {verticalSettingsName,
         [real](const std::filesystem::path& folder, int variant) {
             LayoutValues values = LayoutValues::defaults();
             values.vertical[0] = real(variant ? 2.5L : 1.25L);
             return writeLayoutSettings(folder, SlipLayout::vertical, values);
         }},
        {horizontalSettingsName,
         [real](const std::filesystem::path& folder, int variant) {
             LayoutValues values = LayoutValues::defaults();
             values.horizontal[0] = real(variant ? 3.5L : 0.75L);
             return writeLayoutSettings(folder, SlipLayout::horizontal, values);
         }},
        {recentFilesName,
         [](const std::filesystem::path& folder, int variant) {
             RecentFiles list;
             list.add(variant ? "/home/utente/Sistem2.Qtr" : "/home/utente/Sistem1.Qtr");
             return list.save(folder / recentFilesName);
         }},
        {userFunctionListName,
         [](const std::filesystem::path& folder, int variant) {
             UserFunctionList list;
             list.entries.push_back({"filtro", "Filtro"});
             if (variant)
                 list.entries.push_back({"somma.py", "Somma dei numeri"});
             return list.save(folder);
         }},
        {"buchi.csv",
         [](const std::filesystem::path& folder, int variant) {
             const std::vector<int> marked = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
             std::vector<Column> finals;
             if (variant)
                 finals.push_back({1, 2, 3, 4, 5, 6});
             return exportHolesCsv(folder / "buchi.csv", marked, finals, 3, 5).ok();
         }},
    };
}

} // namespace quintor::testing

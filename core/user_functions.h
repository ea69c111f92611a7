#pragma once

#include "core/column.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

struct SystemState;

// User functions: separate programs in the program folder that receive the active system
// in two exchange files, may change them, and create a third file when they are done.
inline constexpr int maxUserFunctions = 15; // the menu has room for this many
inline constexpr const char* userFunctionListName = "funzioni.ute";
inline constexpr const char* functionListTemporaryName = "funzioni.tmp"; // its saves' prefix
inline constexpr const char* exchangeSystemName = "sistema.dat";
inline constexpr const char* exchangeColumnsName = "colonne.dat";
inline constexpr const char* exchangeFinishedName = "finito.ok";

struct UserFunction {
    std::string program; // file name without folder
    std::string caption; // menu caption
};

// The function list kept in funzioni.ute: a count line, then the program name and the menu
// caption of each function. Lines end in CR LF when written; LF alone is read as well.
struct UserFunctionList {
    std::vector<UserFunction> entries; // at most maxUserFunctions

    // A missing or unreadable file is an empty list. The count is the integer the first line
    // starts with (blanks and a sign allowed); anything else, or a count below 1, is 0. The
    // list never holds more entries than the menu can show, nor more than the file holds.
    static UserFunctionList load(const std::filesystem::path& programFolder);
    bool save(const std::filesystem::path& programFolder) const;

    std::string text() const; // the file's content
    static UserFunctionList parse(std::string_view text);

    // Letter case ignored.
    bool contains(std::string_view program) const;
};

enum class AddOutcome { Added, AlreadyListed, ListFull, UnsafeName, WriteFailed };

// Enters program (keeping its letter case) with caption at the end of the list and rewrites
// funzioni.ute; the list is reloaded from the file first so that entries added from another
// window are kept. list receives the list as it now stands.
AddOutcome addUserFunction(const std::filesystem::path& programFolder, std::string_view program,
                           std::string_view caption, UserFunctionList& list);
// Rewrites funzioni.ute without entry index (0-based) of list. False when the index is out of
// range or the file cannot be written (list is then unchanged).
bool removeUserFunction(const std::filesystem::path& programFolder, int index,
                        UserFunctionList& list);

// A program name that stays inside the program folder: not empty, no path separator, no
// "..", no control character (which would also break the list file's lines).
bool isSafeProgramName(std::string_view name);

// The description file of a program: its name without the extension (the part from the
// last dot, when the name has one that is not its first character), followed by ".txt".
std::string descriptionFileName(std::string_view program);

struct FunctionDescription {
    std::string caption;            // line 1
    std::string author;             // line 2
    std::string email;              // line 3
    std::vector<std::string> lines; // line 4 onwards
};

// The description beside program in the program folder (name matched without regard to
// letter case), or nothing when there is none or it cannot be read.
std::optional<FunctionDescription> readDescription(const std::filesystem::path& programFolder,
                                                   std::string_view program);
FunctionDescription parseDescription(std::string_view text);

// How to start a program of the program folder without a shell: the file itself when it may
// be executed, else the interpreter named on its "#!" line with the file as last argument.
// Nothing when the file is missing, is not a plain file or cannot be run either way.
struct LaunchCommand {
    std::string program;
    std::vector<std::string> arguments;
};
std::optional<LaunchCommand> launchCommand(const std::filesystem::path& programFolder,
                                           std::string_view program);
// A plain file that launchCommand can start: executable, or beginning with "#!".
bool isRunnableFile(const std::filesystem::path& file);

// sistema.dat: the count of marked numbers, then the numbers in increasing order.
std::vector<std::uint8_t> encodeExchangeSystem(const SystemState& state);
// colonne.dat: the column count (32 bits, little-endian), then six bytes per column.
std::vector<std::uint8_t> encodeExchangeColumns(std::span<const Column> columns);

// What came back from a function. A part whose file is missing is not read back (the
// system keeps its marks or its columns); records that are not whole or not valid (numbers
// outside 1..90, columns declared but not in the file, a negative count) are refused and
// counted, and everything whole and valid is kept.
struct ExchangeResult {
    std::optional<std::array<std::uint8_t, 91>> marked; // [n] = 1 for a marked number
    std::optional<std::vector<Column>> columns;
    int refusedNumbers = 0;
    int refusedColumns = 0;
};
ExchangeResult decodeExchange(const std::optional<std::vector<std::uint8_t>>& systemBytes,
                              const std::optional<std::vector<std::uint8_t>>& columnsBytes);

// Writes both exchange files after deleting finito.ok. False when finito.ok cannot be
// removed or a file cannot be written completely; the function must not start then.
bool writeExchangeFiles(const std::filesystem::path& programFolder, const SystemState& state);
bool finishedFileExists(const std::filesystem::path& programFolder);
// Reads both returned files.
ExchangeResult readExchangeFiles(const std::filesystem::path& programFolder);
// Deletes the three exchange files, whatever their letter case.
void removeExchangeFiles(const std::filesystem::path& programFolder);
// What was thrown away, as the warning after a run says it: "è stato scartato 1 numero
// segnato", "sono state scartate 2 colonne", "sono stati scartati 1 numero segnato e 2
// colonne" (a mixed pair agrees in the masculine plural). Empty when nothing was refused.
std::string refusedDataText(const ExchangeResult& result);
// Puts the returned marks and columns into state and sets its modified flag. The fixed
// numbers, the number weights and the layout values stay as they are.
void applyExchangeResult(const ExchangeResult& result, SystemState& state);

} // namespace quintor

#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quintor::cli {

enum ExitCode : int { ok = 0, emptyResult = 1, refused = 2, usageError = 64 };

using Arguments = std::vector<std::string>;

// The program's own message on stderr, each \r as a line break; returns ExitCode::refused.
int refuse(std::string_view message);
// A message on stderr, each \r as a line break, for a run that still succeeds.
void note(std::string_view message);
// A usage line on stderr; returns ExitCode::usageError.
int usage(std::string_view text);
// The status of a command once its output has reached stdout: a command that succeeded but
// whose output could not all be written (a full disk, a closed file) is refused, so that no
// script takes a cut listing for a whole one.
int finishOutput(int status);

// "--name value" lookup among the arguments after the command's positional ones.
const std::string* optionValue(const Arguments& args, std::string_view name);
bool hasFlag(const Arguments& args, std::string_view name);
// Every value of an option that may be repeated ("--filter A --filter B").
std::vector<const std::string*> optionValues(const Arguments& args, std::string_view name);

// The words that are not options or option values, or nothing when a word starting with
// "--" is neither among withValue nor among flags, or an option of withValue has no value
// after it. Every command checks its arguments with it before doing anything.
std::optional<Arguments> positionalArguments(const Arguments& args,
                                             std::initializer_list<std::string_view> withValue,
                                             std::initializer_list<std::string_view> flags = {});

// "T M" after the option name: two whole numbers, or nothing (also when the option is absent).
std::optional<std::pair<int, int>> guaranteeAfter(const Arguments& args, std::string_view name);

// A system file that cannot be read.
inline constexpr const char* unreadableSystemMessage =
    "Impossibile leggere dal file specificato!\rCorreggere e riprovare.";

// A command that ran out of memory, or failed in a way no check foresaw.
inline constexpr const char* outOfMemoryMessage =
    "Memoria insufficiente per completare l'elaborazione.\rNessun file è stato modificato.";
inline constexpr const char* unexpectedFailureMessage =
    "Errore imprevisto durante l'elaborazione.\rNessun file è stato modificato.";

} // namespace quintor::cli

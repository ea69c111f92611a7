#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace quintor::cli {

// What `quintor-cli --help` and `quintor-cli COMMAND --help` print about one command. The
// usage line is the one the command itself prints when its arguments are wrong.
struct CommandHelp {
    std::string_view name;
    std::string_view summary; // one line, for the list of commands
    std::string_view usage;   // after "uso: quintor-cli "
    // One option a line, "--name VALORE" then its explanation after two or more blanks;
    // empty for a command with no options.
    std::string_view options;
};

// Every command, in the order the list shows them.
std::span<const CommandHelp> commandHelp();
// nullptr for a name that is no command.
const CommandHelp* findCommandHelp(std::string_view name);

// The whole list: how to call the program, then each command with its summary.
void printProgramHelp(std::ostream& out);
// The command's usage line, its summary and its options.
void printCommandHelp(std::ostream& out, const CommandHelp& help);
// "quintor-cli VERSION".
void printVersion(std::ostream& out);

} // namespace quintor::cli

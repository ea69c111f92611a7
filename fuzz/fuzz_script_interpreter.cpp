#include "core/user_functions.h"
#include "fuzz_input.h"

#include <cstdlib>
#include <string>

namespace {

bool holdsLineEndOrZero(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

} // namespace

// A user function's program of any content, not executable: it can be started only through
// the interpreter its "#!" line names, with at most one argument from that line and the file
// itself last; neither holds a line end, and the file counts as runnable exactly then.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile("funzione.sh", data, size);
    const auto command = quintor::launchCommand(file.parent_path(), "funzione.sh");
    if (command.has_value() != quintor::isRunnableFile(file))
        std::abort();
    if (!command)
        return 0;
    if (size < 3 || data[0] != '#' || data[1] != '!')
        std::abort();
    if (command->program.empty() || holdsLineEndOrZero(command->program) ||
        command->program.find_first_of(" \t") != std::string::npos)
        std::abort();
    if (command->arguments.empty() || command->arguments.size() > 2 ||
        command->arguments.back() != file.string())
        std::abort();
    if (command->arguments.size() == 2 &&
        (command->arguments[0].empty() || holdsLineEndOrZero(command->arguments[0])))
        std::abort();
    return 0;
}

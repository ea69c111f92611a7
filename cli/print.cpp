#include "cli/commands.h"

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace quintor::cli {

namespace {

// Where the painter sits from quintor-cli's folder: in the package's own folder of helper
// programs, so that it does not appear among the user's commands. The build tree has the
// same layout.
const char* const toolPath = "../lib/quintor/quintor-print";

// Names the folder looked in, so that a broken installation can be told from a moved one.
int refuseMissingTool(const std::filesystem::path& tool) {
    return refuse("Impossibile stampare: il programma quintor-print non si trova in " +
                  tool.parent_path().string() + ".");
}

} // namespace

// Painting pages needs fonts and a PDF writer, which the command line leaves to a second
// program of the package, so that quintor-cli itself stays free of the window toolkit. The
// command hands over its arguments and lets that program answer in its place.
int runPrint(const Arguments& args) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto tool = (self.parent_path() / toolPath).lexically_normal();
    if (error || !std::filesystem::exists(tool, error))
        return refuseMissingTool(tool);
    std::vector<std::string> words{tool.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    return refuseMissingTool(tool);
}

} // namespace quintor::cli

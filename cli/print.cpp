#include "cli/commands.h"

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace quintor::cli {

namespace {

const char* const missingToolMessage =
    "Impossibile stampare: il programma quintor-print non si trova accanto a quintor-cli.";

} // namespace

// Painting pages needs fonts and a PDF writer, which the command line leaves to a second
// program beside it, so that quintor-cli itself stays free of the window toolkit. The
// command hands over its arguments and lets that program answer in its place.
int runPrint(const Arguments& args) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto tool = self.parent_path() / "quintor-print";
    if (error || !std::filesystem::exists(tool, error))
        return refuse(missingToolMessage);
    std::vector<std::string> words{tool.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    return refuse(missingToolMessage);
}

} // namespace quintor::cli

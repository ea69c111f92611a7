#include "core/printer_choice.h"

#include "core/byte_file.h"
#include "core/program_folder.h"

#include <sstream>

namespace quintor {

namespace {

constexpr std::string_view printerKey = "stampante=";
constexpr std::string_view paperKey = "carta=";

} // namespace

PrinterChoice loadPrinterChoice(const std::filesystem::path& programFolder) {
    PrinterChoice choice;
    const auto bytes = readFileBytes(findFileNoCase(programFolder, printerChoiceName), 64 * 1024);
    if (!bytes)
        return choice;
    std::istringstream lines(std::string(bytes->begin(), bytes->end()));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with(printerKey))
            choice.printer = line.substr(printerKey.size());
        else if (line.starts_with(paperKey))
            choice.paper = line.substr(paperKey.size());
    }
    return choice;
}

bool savePrinterChoice(const std::filesystem::path& programFolder, const PrinterChoice& choice) {
    // A name cannot carry a line break into the file's other line.
    for (const std::string* field : {&choice.printer, &choice.paper})
        if (field->find_first_of("\r\n") != std::string::npos)
            return false;
    const std::string text = std::string(printerKey) + choice.printer + "\n" +
                             std::string(paperKey) + choice.paper + "\n";
    return replaceFileContents(findFileNoCase(programFolder, printerChoiceName), text);
}

} // namespace quintor

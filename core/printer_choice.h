#pragma once

#include <filesystem>
#include <string>

namespace quintor {

inline constexpr const char* printerChoiceName = "STAMPANT.CFG";

// The printer and paper last chosen in the printer set-up, offered first at the next start.
// Kept in the program folder beside the other settings, as two text lines
// "stampante=NAME" and "carta=KEY" (KEY as the toolkit names papers: "A4", "Letter").
struct PrinterChoice {
    std::string printer;
    std::string paper;
    friend bool operator==(const PrinterChoice&, const PrinterChoice&) = default;
};

// A missing or unreadable file, or a line it lacks, leaves the field empty; never fails.
PrinterChoice loadPrinterChoice(const std::filesystem::path& programFolder);
bool savePrinterChoice(const std::filesystem::path& programFolder, const PrinterChoice& choice);

} // namespace quintor

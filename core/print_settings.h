#pragma once

#include "core/layout_values.h"
#include "core/real48.h"

#include <filesystem>

namespace quintor {

inline constexpr const char* verticalSettingsName = "QUINTOR.CFG";
inline constexpr const char* horizontalSettingsName = "QTOR_OR.CFG";

// What a new system window starts with: the layout values and the column price.
struct PrintSettings {
    LayoutValues layout = LayoutValues::defaults();
    Real48 columnPrice = real48::eightHundred;
};

// Reads QUINTOR.CFG and QTOR_OR.CFG from the program folder (names matched without regard
// to case). Missing files or short records leave the defaults; nothing is reported.
PrintSettings loadPrintSettings(const std::filesystem::path& programFolder);

} // namespace quintor

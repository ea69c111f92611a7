#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace quintor {

// Where the frame and each kind of window were last, so the next run opens them there:
// "finestre.cfg" in the program folder, a text of one line a window kind,
// "name x y width height maximized" (maximized 0 or 1), lines ending CR LF.
inline constexpr const char* windowPlacesName = "finestre.cfg";

struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const WindowPlace&) const = default;
};

// By window kind: the names are the windows' own, without blanks.
using WindowPlaces = std::map<std::string, WindowPlace, std::less<>>;

// A line that does not read as a place (a size not above zero, a number out of range, a field
// missing or too many) is left out; the others are kept.
WindowPlaces parseWindowPlaces(std::string_view text);
std::string windowPlacesText(const WindowPlaces& places);

// The file in the program folder, whatever the letter case of its name on disk; a missing or
// unreadable one gives no places.
WindowPlaces loadWindowPlaces(const std::filesystem::path& programFolder);
bool saveWindowPlaces(const std::filesystem::path& programFolder, const WindowPlaces& places);

} // namespace quintor

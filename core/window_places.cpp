#include "core/window_places.h"

#include "core/byte_file.h"
#include "core/program_folder.h"

#include <charconv>
#include <vector>

namespace quintor {

namespace {

// No screen is this large: a bigger number is a damaged line, not a place.
constexpr int largestCoordinate = 100'000;

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        fields.push_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

bool readNumber(std::string_view field, int& value) {
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size() &&
           value >= -largestCoordinate && value <= largestCoordinate;
}

} // namespace

WindowPlaces parseWindowPlaces(std::string_view text) {
    WindowPlaces places;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (fields.size() != 6)
            continue;
        WindowPlace place;
        int maximized = 0;
        if (!readNumber(fields[1], place.x) || !readNumber(fields[2], place.y) ||
            !readNumber(fields[3], place.width) || !readNumber(fields[4], place.height) ||
            !readNumber(fields[5], maximized) || place.width <= 0 || place.height <= 0 ||
            (maximized != 0 && maximized != 1))
            continue;
        place.maximized = maximized == 1;
        places.insert_or_assign(std::string(fields[0]), place);
    }
    return places;
}

std::string windowPlacesText(const WindowPlaces& places) {
    std::string text;
    for (const auto& [name, place] : places)
        text += name + ' ' + std::to_string(place.x) + ' ' + std::to_string(place.y) + ' ' +
                std::to_string(place.width) + ' ' + std::to_string(place.height) + ' ' +
                (place.maximized ? "1" : "0") + "\r\n";
    return text;
}

WindowPlaces loadWindowPlaces(const std::filesystem::path& programFolder) {
    const auto bytes = readFileBytes(findFileNoCase(programFolder, windowPlacesName));
    if (!bytes)
        return {};
    return parseWindowPlaces(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

bool saveWindowPlaces(const std::filesystem::path& programFolder, const WindowPlaces& places) {
    return replaceFileContents(findFileNoCase(programFolder, windowPlacesName),
                               windowPlacesText(places));
}

} // namespace quintor

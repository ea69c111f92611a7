#include "core/user_functions.h"
#include "fuzz_input.h"

#include <cstdlib>

// The description file beside a user function: read from the file as from the text, and a
// description written out one field a line reads back field for field.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile("funzione.txt", data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto fromFile = quintor::readDescription(file.parent_path(), "funzione.sh");
    if (!fromFile)
        std::abort();
    const auto parsed = quintor::parseDescription(text);
    if (fromFile->caption != parsed.caption || fromFile->author != parsed.author ||
        fromFile->email != parsed.email || fromFile->lines != parsed.lines)
        std::abort();

    std::string written = parsed.caption + "\r\n" + parsed.author + "\r\n" + parsed.email + "\r\n";
    for (const auto& line : parsed.lines)
        written += line + "\r\n";
    const auto again = quintor::parseDescription(written);
    // A field that holds a lone CR or an LF is not a line of its own in the text it came from.
    const auto plain = [](const std::string& field) {
        return field.find('\n') == std::string::npos && (field.empty() || field.back() != '\r');
    };
    bool clean = plain(parsed.caption) && plain(parsed.author) && plain(parsed.email);
    for (const auto& line : parsed.lines)
        clean = clean && plain(line);
    if (clean && (again.caption != parsed.caption || again.author != parsed.author ||
                  again.email != parsed.email || again.lines != parsed.lines))
        std::abort();
    return 0;
}

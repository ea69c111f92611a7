#include "core/print_settings.h"
#include "fuzz_input.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

// An existing QUINTOR.CFG of any content, read before it is rewritten: registering the
// vertical layout replaces its six records and keeps every byte after them, storing the
// price keeps the records, and the file then reads back as those values and that price.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile(quintor::verticalSettingsName, data, size);
    const auto folder = file.parent_path();
    const std::string before(reinterpret_cast<const char*>(data), size);

    quintor::LayoutValues values = quintor::LayoutValues::defaults();
    for (std::size_t i = 0; i < values.vertical.size(); ++i)
        values.vertical[i] = quintor::Real48::fromValue(0.25L * static_cast<long double>(i + 1));
    if (!quintor::writeLayoutSettings(folder, quintor::SlipLayout::vertical, values))
        std::abort();
    const std::string written = contentOf(file);
    const std::size_t records = values.vertical.size() * quintor::settingsRecordSize;
    if (written.size() != std::max(before.size(), records) ||
        (before.size() > records && written.substr(records) != before.substr(records)))
        std::abort();
    if (!(quintor::loadPrintSettings(folder).layout.vertical == values.vertical))
        std::abort();

    const quintor::Real48 price = quintor::Real48::fromValue(1234.5L);
    if (!quintor::storeColumnPrice(folder, values.vertical, price))
        std::abort();
    const quintor::PrintSettings read = quintor::loadPrintSettings(folder);
    if (!(read.columnPrice == price) || !(read.layout.vertical == values.vertical))
        std::abort();
    return 0;
}

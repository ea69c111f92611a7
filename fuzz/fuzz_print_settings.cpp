#include "core/print_settings.h"
#include "fuzz_input.h"

#include <cstdlib>
#include <string>

// Settings files (QUINTOR.CFG and QTOR_OR.CFG) of any content load, and any typed text either
// parses or is refused.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzFile("QUINTOR.CFG", data, size);
    (void)fuzzFile("QTOR_OR.CFG", data, size);
    const quintor::PrintSettings settings = quintor::loadPrintSettings(file.parent_path());
    for (const auto& value : settings.layout.vertical)
        (void)quintor::layoutValueText(value);
    for (const auto& value : settings.layout.horizontal)
        (void)quintor::layoutValueText(value);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto value = quintor::parseLayoutValue(text);
    if (value && quintor::layoutValueText(*value).empty())
        std::abort();
    return 0;
}

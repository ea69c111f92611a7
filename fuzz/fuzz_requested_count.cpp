#include "core/selection.h"

#include <cstdlib>
#include <string_view>

// The selection's typed count lies in 1..initial columns whenever it is accepted; the first
// input byte picks how many initial columns the system has.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static constexpr double initial[] = {0, 1, 7, 28, 84, 5005, 622614630};
    const double columns = initial[data[0] % (sizeof initial / sizeof initial[0])];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto count = quintor::requestedCount(text, columns);
    if (count && (*count < 1 || static_cast<double>(*count) > columns))
        std::abort();
    return 0;
}

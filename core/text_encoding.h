#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// Text that begins with a UTF-16 byte-order mark (little- or big-endian), as some spreadsheets
// save "Unicode text", converted to UTF-8 without the mark; nothing for any other bytes. A
// lone surrogate or a trailing odd byte becomes U+FFFD.
std::optional<std::string> utf8FromUtf16(std::string_view bytes);

} // namespace quintor

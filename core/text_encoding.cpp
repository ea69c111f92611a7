#include "core/text_encoding.h"

#include <cstdint>

namespace quintor {

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::optional<std::string> utf8FromUtf16(std::string_view bytes) {
    if (bytes.size() < 2)
        return std::nullopt;
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); };
    bool littleEndian = false;
    if (byte(0) == 0xFF && byte(1) == 0xFE)
        littleEndian = true;
    else if (!(byte(0) == 0xFE && byte(1) == 0xFF))
        return std::nullopt;
    const auto unitAt = [&](std::size_t at) -> char32_t {
        return littleEndian ? byte(at) | (byte(at + 1) << 8) : (byte(at) << 8) | byte(at + 1);
    };
    std::string out;
    out.reserve(bytes.size() / 2);
    std::size_t at = 2;
    while (at + 1 < bytes.size()) {
        const char32_t unit = unitAt(at);
        at += 2;
        if (isHighSurrogate(unit) && at + 1 < bytes.size() && isLowSurrogate(unitAt(at))) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at) - 0xDC00));
            at += 2;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, replacementCharacter);
        } else {
            appendUtf8(out, unit);
        }
    }
    if (at < bytes.size())
        appendUtf8(out, replacementCharacter);
    return out;
}

} // namespace quintor

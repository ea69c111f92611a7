#include "core/real48.h"

#include <cmath>
#include <limits>

namespace quintor {

namespace {
constexpr int exponentBias = 129;
constexpr std::uint64_t fractionScale = std::uint64_t{1} << 39;
} // namespace

std::optional<Real48> Real48::tryFromValue(long double value) {
    if (std::isnan(value) || std::isinf(value))
        return std::nullopt;
    if (value == 0.0L)
        return Real48{};
    const bool negative = value < 0;
    int exponent2 = 0;
    // magnitude = f * 2^exponent2 with f in [0.5, 1): the format wants 1.m * 2^(exponent2 - 1).
    const long double f = std::frexp(std::fabs(value), &exponent2);
    long double scaled = (2.0L * f - 1.0L) * static_cast<long double>(fractionScale);
    // The product is exact in long double; floor(x + 0.5) rounds ties away from zero here
    // because x is non-negative.
    auto fraction = static_cast<std::uint64_t>(std::floor(scaled + 0.5L));
    int exponent = exponent2 - 1 + exponentBias;
    if (fraction == fractionScale) {
        fraction = 0;
        ++exponent;
    }
    if (exponent < 1)
        return Real48{}; // underflow
    if (exponent > 255)
        return std::nullopt;
    Bytes bytes{};
    bytes[0] = static_cast<std::uint8_t>(exponent);
    for (int i = 0; i < 5; ++i)
        bytes[1 + i] = static_cast<std::uint8_t>(fraction >> (8 * i));
    if (negative)
        bytes[5] |= 0x80;
    return fromBytes(bytes);
}

Real48 Real48::fromValue(long double value) {
    if (auto r = tryFromValue(value))
        return *r;
    const bool negative = value < 0;
    Bytes largest{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    if (negative)
        largest[5] |= 0x80;
    return fromBytes(largest);
}

long double Real48::value() const {
    if (bytes_[0] == 0)
        return 0.0L;
    std::uint64_t fraction = 0;
    for (int i = 0; i < 5; ++i)
        fraction |= static_cast<std::uint64_t>(bytes_[1 + i]) << (8 * i);
    const bool negative = (fraction >> 39) & 1;
    fraction &= fractionScale - 1;
    const long double mantissa =
        1.0L + static_cast<long double>(fraction) / static_cast<long double>(fractionScale);
    const long double magnitude = std::ldexp(mantissa, bytes_[0] - exponentBias);
    return negative ? -magnitude : magnitude;
}

} // namespace quintor

#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quintor {

// The six-byte real the files keep: byte 0 is the exponent with bias 129 (0 means zero),
// bytes 1..5 the 39-bit fraction least significant byte first, sign in the top bit of byte 5.
// Values move through long double (64-bit mantissa) so a load and a save give back the same
// bytes and arithmetic runs in extended precision.
class Real48 {
public:
    using Bytes = std::array<std::uint8_t, 6>;

    constexpr Real48() = default;
    static constexpr Real48 fromBytes(const Bytes& bytes) {
        Real48 r;
        r.bytes_ = bytes;
        return r;
    }
    // Nearest Real48, ties away from zero; too small becomes 0; nullopt when too large
    // (or not a number).
    static std::optional<Real48> tryFromValue(long double value);
    // As tryFromValue, with magnitudes beyond the format clamped to the largest value.
    static Real48 fromValue(long double value);

    long double value() const;
    double toDouble() const { return static_cast<double>(value()); }
    const Bytes& bytes() const { return bytes_; }

    friend bool operator==(const Real48&, const Real48&) = default;

private:
    Bytes bytes_{};
};

namespace real48 {
inline constexpr Real48 fifty = Real48::fromBytes({0x86, 0x00, 0x00, 0x00, 0x00, 0x48});
inline constexpr Real48 eightHundred = Real48::fromBytes({0x8A, 0x00, 0x00, 0x00, 0x00, 0x48});
} // namespace real48

} // namespace quintor

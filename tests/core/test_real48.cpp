#include "core/layout_values.h"
#include "core/real48.h"

#include <gtest/gtest.h>

#include <cmath>

using quintor::Real48;

namespace {

Real48::Bytes bytesOf(long double v) {
    return Real48::fromValue(v).bytes();
}

} // namespace

TEST(Real48, EncodesTheDefaultsToTheirDocumentedBytes) {
    EXPECT_EQ(bytesOf(50.0L), quintor::real48::fifty.bytes());
    EXPECT_EQ(bytesOf(800.0L), quintor::real48::eightHundred.bytes());
    const long double vertical[] = {0.032L, 0.0882L, 0.0246L, 0.01065L, 0.0037L, 0.016L};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bytesOf(vertical[i]), quintor::defaultVerticalLayout[i].bytes()) << i;
    const long double horizontal[] = {0.128L, 0.01639L, 0.014625L, 0.0179L, 0.0037L};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bytesOf(horizontal[i]), quintor::defaultHorizontalLayout[i].bytes()) << i;
}

TEST(Real48, DecodesAndRoundTripsExactly) {
    EXPECT_EQ(quintor::real48::fifty.value(), 50.0L);
    EXPECT_EQ(quintor::real48::eightHundred.value(), 800.0L);
    EXPECT_EQ(Real48{}.value(), 0.0L);
    for (long double v : {1.0L, -1.0L, 0.5L, 123456.789L, -0.0037L, 1e30L, 3e-38L}) {
        const Real48 r = Real48::fromValue(v);
        EXPECT_EQ(Real48::fromValue(r.value()), r) << static_cast<double>(v);
        EXPECT_NEAR(static_cast<double>(r.value() / v), 1.0, 1e-11);
    }
    EXPECT_EQ(Real48::fromValue(-2.0L).bytes()[5] & 0x80, 0x80);
}

TEST(Real48, RoundsTiesAwayFromZeroAndUnderflowsToZero) {
    // 1 + 2^-40 lies halfway between 1 and the next Real48 above it.
    const long double tie = 1.0L + std::ldexp(1.0L, -40);
    EXPECT_EQ(Real48::fromValue(tie).bytes()[1], 1);
    EXPECT_EQ(Real48::fromValue(-tie).bytes()[1], 1);
    EXPECT_EQ(Real48::fromValue(std::ldexp(1.0L, -140)), Real48{});
    EXPECT_FALSE(Real48::tryFromValue(1e40L).has_value());
    EXPECT_FALSE(Real48::tryFromValue(NAN).has_value());
}

TEST(Real48, PlacesExponentSignAndFractionBytes) {
    using B = Real48::Bytes;
    EXPECT_EQ(bytesOf(1.0L), (B{0x81, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytesOf(0.5L), (B{0x80, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytesOf(-1.0L), (B{0x81, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(bytesOf(1.5L), (B{0x81, 0, 0, 0, 0, 0x40}));
    EXPECT_EQ(bytesOf(1000.0L), (B{0x8A, 0, 0, 0, 0, 0x7A}));
    // The smallest fraction step sits in the lowest bit of byte 1.
    EXPECT_EQ(bytesOf(1.0L + std::ldexp(1.0L, -39)), (B{0x81, 1, 0, 0, 0, 0}));
    EXPECT_EQ(bytesOf(0.0L), (B{}));
    EXPECT_EQ(bytesOf(-0.0L), (B{}));
}

TEST(Real48, EdgesOfTheExponentRange) {
    using B = Real48::Bytes;
    EXPECT_EQ(bytesOf(std::ldexp(1.0L, -128)), (B{0x01, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytesOf(std::ldexp(1.0L, -129)), (B{}));
    // Just below the smallest value, but rounding up to it.
    EXPECT_EQ(bytesOf(std::ldexp(1.0L - std::ldexp(1.0L, -50), -128)), (B{0x01, 0, 0, 0, 0, 0}));
    const Real48 largest = Real48::fromBytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    EXPECT_EQ(Real48::tryFromValue(largest.value()), largest);
    EXPECT_FALSE(Real48::tryFromValue(std::ldexp(1.0L, 127)).has_value());
    EXPECT_EQ(Real48::fromValue(1e300L), largest);
    EXPECT_EQ(Real48::fromValue(-1e300L).bytes()[5], 0xFF);
    // Any six bytes decode, and non-zero exponents give back the very same bytes.
    for (int e = 1; e < 256; e += 17) {
        const Real48 r =
            Real48::fromBytes({static_cast<std::uint8_t>(e), 0x12, 0x34, 0x56, 0x78, 0x9A});
        EXPECT_EQ(Real48::fromValue(r.value()), r) << e;
    }
}

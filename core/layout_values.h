#pragma once

#include "core/real48.h"

#include <array>

namespace quintor {

// Slip layout values, fractions of the printable page, in the record order of the settings
// files: vertical = left margin, top margin, horizontal spacing, vertical spacing, mark size,
// number size; horizontal = the first five of those.
struct LayoutValues {
    std::array<Real48, 6> vertical;
    std::array<Real48, 5> horizontal;

    static LayoutValues defaults();
    friend bool operator==(const LayoutValues&, const LayoutValues&) = default;
};

inline constexpr std::array<Real48, 6> defaultVerticalLayout{
    Real48::fromBytes({0x7C, 0x8D, 0x97, 0x6E, 0x12, 0x03}),
    Real48::fromBytes({0x7D, 0x0F, 0x9C, 0x33, 0xA2, 0x34}),
    Real48::fromBytes({0x7B, 0x69, 0x6F, 0xF0, 0x85, 0x49}),
    Real48::fromBytes({0x7A, 0xF4, 0x6C, 0x56, 0x7D, 0x2E}),
    Real48::fromBytes({0x78, 0xC5, 0xFE, 0xB2, 0x7B, 0x72}),
    Real48::fromBytes({0x7B, 0x8D, 0x97, 0x6E, 0x12, 0x03}),
};

inline constexpr std::array<Real48, 5> defaultHorizontalLayout{
    Real48::fromBytes({0x7E, 0x8D, 0x97, 0x6E, 0x12, 0x03}),
    Real48::fromBytes({0x7B, 0x68, 0x3F, 0x52, 0x44, 0x06}),
    Real48::fromBytes({0x7A, 0x0E, 0x2D, 0xB2, 0x9D, 0x6F}),
    Real48::fromBytes({0x7B, 0x26, 0x53, 0x05, 0xA3, 0x12}),
    Real48::fromBytes({0x78, 0xC5, 0xFE, 0xB2, 0x7B, 0x72}),
};

inline LayoutValues LayoutValues::defaults() {
    return LayoutValues{defaultVerticalLayout, defaultHorizontalLayout};
}

} // namespace quintor

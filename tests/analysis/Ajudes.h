// Helpers shared by the analysis tests.
#pragma once

#include "PerNom.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace tessora::proves {

using LD = long double;

// A value as the analysis stores it: evaluated in long double, rounded once to float.
inline float F(LD v) {
    return static_cast<float>(v);
}

// Elements 0..n-1 equal to the bit.
inline ::testing::AssertionResult IgualsBitABit(const float* obtingut, const float* esperat, int n) {
    for (int i = 0; i < n; ++i)
        if (std::bit_cast<std::uint32_t>(obtingut[i]) != std::bit_cast<std::uint32_t>(esperat[i]))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << obtingut[i] << " != " << esperat[i];
    return ::testing::AssertionSuccess();
}

} // namespace tessora::proves

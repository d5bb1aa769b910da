// Helpers shared by the analysis tests.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <tuple>

namespace tessora::proves {

using LD = long double;

// A value as the analysis stores it: evaluated in long double, rounded once to float.
inline float F(LD v) {
    return static_cast<float>(v);
}

// Names a TEST_P row after its `nom` field, or its first element.
struct PerNom {
    template <class Fila>
    std::string operator()(const ::testing::TestParamInfo<Fila>& info) const {
        if constexpr (requires { info.param.nom; })
            return info.param.nom;
        else
            return std::get<0>(info.param);
    }
};

// Elements 0..n-1 equal to the bit.
inline ::testing::AssertionResult IgualsBitABit(const float* obtingut, const float* esperat, int n) {
    for (int i = 0; i < n; ++i)
        if (std::bit_cast<std::uint32_t>(obtingut[i]) != std::bit_cast<std::uint32_t>(esperat[i]))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << obtingut[i] << " != " << esperat[i];
    return ::testing::AssertionSuccess();
}

} // namespace tessora::proves

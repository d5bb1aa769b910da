// A synthetic voiced vowel for the tests and the benchmarks: a pulse train of `periode` samples through
// two resonators (formants f1 and f2 in Hz, 80 Hz bandwidth) at 11025 Hz. Returns the 512 samples that
// follow `inici` samples of settling, scaled so that the largest magnitude is `amplitud` and rounded to
// integers centred on 0.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace tessora::proves {

inline std::array<int, 512> VocalSintetica(int periode, double f1, double f2, double amplitud,
                                           int inici = 1024) {
    const double fs = 11025.0;
    const double r = std::exp(-std::numbers::pi * 80.0 / fs);
    const double a[2] = {2 * r * std::cos(2 * std::numbers::pi * f1 / fs),
                         2 * r * std::cos(2 * std::numbers::pi * f2 / fs)};
    std::vector<double> senyal(static_cast<std::size_t>(inici) + 512);
    double y[2][2] = {};
    double maxim = 0;
    for (std::size_t n = 0; n < senyal.size(); ++n) {
        double v = n % static_cast<std::size_t>(periode) == 0 ? 1.0 : 0.0;
        for (int k = 0; k < 2; ++k) {
            v = v + a[k] * y[k][0] - r * r * y[k][1];
            y[k][1] = y[k][0];
            y[k][0] = v;
        }
        senyal[n] = v;
        if (n >= static_cast<std::size_t>(inici)) maxim = std::max(maxim, std::fabs(v));
    }
    std::array<int, 512> mostres{};
    for (std::size_t i = 0; i < mostres.size(); ++i)
        mostres[i] =
            static_cast<int>(std::lround(senyal[static_cast<std::size_t>(inici) + i] / maxim * amplitud));
    return mostres;
}

// The same vowel as the device delivers it: unsigned bytes around 128 (clamped), peak `amplitud`.
inline std::vector<std::uint8_t> BytesVocalSintetica(int periode, double f1, double f2, int amplitud,
                                                     int inici = 1024) {
    const auto v = VocalSintetica(periode, f1, f2, amplitud, inici);
    std::vector<std::uint8_t> bytes(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(std::clamp(128 + v[i], 0, 255));
    return bytes;
}

} // namespace tessora::proves

// Linear prediction of one block: autocorrelation, Levinson-Durbin recursion, and the spectral envelope
// 4 / |A(e^jw)| sampled at equally spaced angles from 0 to 3.1416 rad (the decimal, not pi).
//
// Predictor x^[n] = a[1]x[n-1] + ... + a[p]x[n-p]; inverse filter A(z) = 1 - sum a[k] z^-k; K[1] = R[1]/R[0].
// Every element and running sum is a 32-bit float rounded after each step; each step is evaluated in
// long double. The cosines and sines of the envelope depend only on the point count and the order, so
// they are kept in a table that grows with the highest order asked for; the values are the very ones a
// direct evaluation gives.
#pragma once

#include "Constants.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessora {

enum class ResultatLPC {
    Correcte,
    Silenci,         // R[0] == 0: the envelope's first NombreMostres elements were zeroed
    ErrorNumeric,    // division by zero, overflow or invalid operation: the block must be abandoned
    ForaDeCapacitat, // order above 128, or more points than the envelope holds: nothing was computed
};

class UnitLPC {
public:
    // SenyalLPC: input, the first NombreMostres elements are read (at most 8193; only the first 8192
    // enter the autocorrelation). EnvolupantLPC: output, elements 0..(NombrePunts+1)/2-1 (at most 8193
    // points). Ordre: prediction order; 0 gives a flat envelope of 4.0, a negative order correlates
    // nothing and takes the silence path, above 128 is refused.
    ResultatLPC CalcularLPC(const float* SenyalLPC, float* EnvolupantLPC, std::int32_t NombreMostres,
                            std::int32_t Ordre, std::int32_t NombrePunts);

    // Working arrays; index ranges as in the recursion (a[j][i] is MatriuPrediccio[j][i]).
    std::array<float, kCapacitatMostres> SenyalTreballLPC{};
    std::array<float, kOrdreLPCMaxim + 1> Autocorrelacio{};      // R[0..p]
    std::array<float, kOrdreLPCMaxim + 1> ErrorPrediccio{};      // E[0..p]
    std::array<float, kOrdreLPCMaxim + 1> CoeficientsReflexio{}; // K[1..p]
    std::array<std::array<float, kOrdreLPCMaxim + 1>, kOrdreLPCMaxim + 1> MatriuPrediccio{};
    std::array<float, kOrdreLPCMaxim + 1> CoeficientsLPC{}; // a[1..p]

private:
    void PrepararTaula(std::int32_t L, float pas, std::int32_t ordre);

    // cos(k w_i) and sin(k w_i) in long double, row k-1, column i (0..L).
    std::int32_t taulaL_ = -1;
    std::int32_t taulaOrdre_ = 0;
    std::vector<long double> cosinus_;
    std::vector<long double> sinus_;
    // Real and imaginary sums of every envelope point.
    std::vector<float> re_;
    std::vector<float> im_;
};

} // namespace tessora

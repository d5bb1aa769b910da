// The analysis state: the arrays and results that one analysis of a block reads and leaves behind.
//
// One object lives for the whole run and nothing resets it between blocks: a value that an analysis
// cannot produce keeps the one of the previous block (the pitch when no valley is found, MigLPC when the
// envelope sums to 0, F1/S2F/AF1/Y when fewer than two peaks are found, ModulEspectre while the FFT is
// not wanted). Every element and result starts at 0 and VocalReconeguda starts empty.
#pragma once

#include "Constants.h"
#include "UnitLPC.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessora {

struct EstatAnalisi {
    // Capture rate in Hz; every conversion between bins, lags or positions and Hz reads it.
    std::int32_t FrequenciaMostreig = kFrequenciaMostreig;

    // The current block: unsigned 8-bit sample minus 127 (-127..128), elements 0..511. Element 512 is
    // never written by the capture and reads 0 (the pitch routine reads it).
    std::array<std::int32_t, kCapacitatMostres> Mostres{};
    // The same block as raw unsigned bytes, elements 0..511.
    std::array<std::uint8_t, kCapacitatMostres> MostresCrues{};

    // Pre-emphasised, Hamming-windowed block (0..511), or all zeros when the block is too quiet.
    std::array<float, kCapacitatMostres> SenyalLPC{};
    // LPC envelope (0..255 for the standard call); after the feature step ear-weighted (option) and
    // scaled to sum 1600. Elements past the written range keep what an earlier call left there.
    std::array<float, kCapacitatMostres> EnvolupantLPC{};

    // FFT work arrays, 1-based: elements 1..512 are used, element 0 is not.
    std::array<float, kMidaFFT + 1> EspectreReal{};
    std::array<float, kMidaFFT + 1> EspectreImaginari{};
    // FFT magnitude / 256, optionally ear-weighted (1..255) and normalised to sum 100 (0..255).
    std::array<float, kMidaFFT> ModulEspectre{};
    // Frequency of bin k in Hz: k x (FrequenciaMostreig x 1/512), 0..511.
    std::array<float, kMidaFFT> FrequenciesEspectre{};

    // Envelope peaks, slots 1..10 (1..4 used): [1][s] position (an envelope index during the feature
    // step, whole Hz at its end; 0 = empty slot), [2][s] height. Row and column 0 are not used.
    float PicsLPC[3][kMaximPics + 1] = {};

    std::int32_t FrequenciaFonamental = 0; // Hz; 0 until a first pitch is found
    float FrequenciaF1 = 0.0f;             // Hz, whole numbers
    std::int32_t SeparacioF2F1 = 0;        // Hz
    std::int32_t MigLPC = 0;               // Hz
    std::int32_t AmpladaF1 = 0;            // Hz
    std::int32_t LimitInferiorF1 = 0;      // envelope position
    std::int32_t LimitSuperiorF1 = 0;      // envelope position
    double YF1YF2 = 0.0;                   // height of the first peak over the second's
    std::string VocalReconeguda;           // UTF-8; empty when no vowel was decided

    // The LPC unit with its working arrays (kept between calls).
    UnitLPC LPC;

    // Ear-weighting divisors exp(ln(f_k) x -0.800147) x 79.1874212 for f_k = FrequenciesEspectre[k],
    // k = 1..255; they depend on the sample rate alone and are kept for the rate they were made for.
    std::int32_t FrequenciaDivisorsOida = -1;
    std::array<long double, kPuntsAnalisi> DivisorsOida{};
};

} // namespace tessora

// Fixed numbers of the recogniser: capture format, block and analysis sizes, thresholds.
#pragma once

#include <cstdint>

namespace tessora {

inline constexpr std::int32_t kFrequenciaMostreig = 11025; // Hz, capture and analysis rate
inline constexpr int kMidaBloc = 512;                      // samples per captured block
inline constexpr int kMidaFFT = 512;                       // points of the spectrum
inline constexpr int kPuntsAnalisi = 256;                  // lags, envelope points, drawn bins
inline constexpr int kOrdreLPCPerDefecte = 11;
inline constexpr int kOrdreLPCMaxim = 128;                      // capacity of the predictor arrays
inline constexpr std::int32_t kFrequenciaMinimaPerDefecte = 60; // Hz, lowest pitch accepted
inline constexpr std::int32_t kFrequenciaMaximaPitch = 400;     // Hz, highest pitch accepted

// Capacity of the sample, LPC signal and envelope arrays (index 0..8192); the spectrum arrays hold one
// FFT (kMidaFFT).
inline constexpr int kCapacitatMostres = 8193;
inline constexpr int kMaximPics = 10; // PicsLPC columns; the features use slots 1..4
inline constexpr int kPicsUsats = 4;

// Live loop.
inline constexpr int kNivellSilenci = 15;    // a block is loud when its level is above this
inline constexpr int kNivellSaturacio = 127; // level at or above which the input clipped
inline constexpr int kBlocsPerEmissio = 3;   // loud blocks kept per utterance
inline constexpr int kMidaEmissio = kBlocsPerEmissio * kMidaBloc; // 1536 bytes: one BufferSo slot
inline constexpr std::uint8_t kByteSilenci = 127;                 // BufferSo silence value

} // namespace tessora

// Reading sound files for file input: any format libsndfile reads, as 8-bit unsigned mono 11025 Hz.
//
// Channels are mixed to mono by their mean, other rates are converted with libsamplerate (best sinc),
// and each sample becomes the nearest byte value with 128 as zero (clamped to 0..255). An 8-bit
// unsigned mono 11025 Hz file passes through byte for byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tessora {

struct SoLlegit {
    bool Correcte = false;
    std::vector<std::uint8_t> Mostres; // 8-bit unsigned, mono, 11025 Hz
    std::string Error;                 // why the file could not be used (English, no file name)
};

// Reads the whole file. Fails (Correcte false, Error set) for a missing or unreadable file, a file that
// is not sound, a truncated file, and a file without a single sample.
SoLlegit LlegirFitxerSo(const std::filesystem::path& fitxer);

} // namespace tessora

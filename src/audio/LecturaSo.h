// Reading sound files for file input: any format libsndfile reads, as 8-bit unsigned mono 11025 Hz,
// block by block in constant memory.
//
// Channels are mixed to mono by their mean, other rates are converted with libsoxr (high quality), and
// each sample becomes the nearest byte value with 128 as zero (halves to even, clamped to 0..255). An
// 8-bit unsigned mono 11025 Hz file passes through byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tessora {

// Where a recording's samples come from, in order, as 8-bit unsigned mono 11025 Hz.
class FontMostres {
public:
    virtual ~FontMostres() = default;
    // Fills `desti` with the next samples and returns how many; fewer only at the end of the recording
    // or when it cannot be read any further.
    virtual std::size_t Llegir(std::span<std::uint8_t> desti) = 0;
};

// The lowest and highest sample rates accepted. Below the lowest, the vowels' formants (the second
// reaches about 2500 Hz) do not fit in the recording at all.
inline constexpr int kFrequenciaMinimaFitxer = 6000;
inline constexpr int kFrequenciaMaximaFitxer = 768000;

class LectorSo final : public FontMostres {
public:
    // Opens the file and checks it before anything is read: a regular file in a known format, whose
    // header states no more sound data than the file holds, at an accepted rate. Fails (nullptr, `error`
    // set: English, no file name) for a missing or unreadable file, a file that is not sound, a
    // truncated file, a file without samples and a rate outside the accepted range.
    static std::unique_ptr<LectorSo> Obrir(const std::filesystem::path& fitxer, std::string& error);
    ~LectorSo() override;
    LectorSo(const LectorSo&) = delete;
    LectorSo& operator=(const LectorSo&) = delete;

    std::size_t Llegir(std::span<std::uint8_t> desti) override;
    // Why the samples ended before the recording did (a read error, fewer samples than the header
    // announced): empty while all is well.
    const std::string& Error() const;

    struct Estat;

private:
    explicit LectorSo(std::unique_ptr<Estat> estat);
    std::unique_ptr<Estat> estat_;
};

struct SoLlegit {
    bool Correcte = false;
    std::vector<std::uint8_t> Mostres; // 8-bit unsigned, mono, 11025 Hz
    std::string Error;                 // why the file could not be used (English, no file name)
};

// Reads the whole file: for tests and tools that want it in memory.
SoLlegit LlegirFitxerSo(const std::filesystem::path& fitxer);

} // namespace tessora

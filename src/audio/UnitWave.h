// RIFF WAVE writer with the maker's notice.
//
// Layout: "RIFF" size "WAVE", then a LIST/INFO chunk holding one ICOP chunk with a fixed 54-character
// notice, then "fmt " (an 18-byte PCM format record) and "data". Every chunk is opened with a size of 0
// and its size is written when it is closed, so a file whose writing failed part-way carries no valid
// sizes. The file is written beside its final name and put in place only when complete, so a failure
// never destroys a file that was already there.
#pragma once

#include "SubstitucioFitxer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace tessora {

// The maker's notice stored in the ICOP chunk: 54 single-byte characters, no terminating zero.
inline constexpr std::string_view kAvisICOP = "Tessora, reconeixement de vocals - https://example.org";

struct ParametresFormat {
    std::int16_t Canals;
    std::int32_t MostresPerSegon;
    std::int16_t Bits;
};

// Format code to channels, bits and rate: odd codes are stereo (negative odd ones too); 2, 3, 6, 7, 10
// and 11 are 16-bit, every other code 8-bit; up to 3 is 11025 Hz, 4..7 22050 Hz, above 7 44100 Hz.
ParametresFormat ParametresFormatWav(std::int32_t codiFormat);

// The 18-byte "fmt " body, little-endian: tag 1, channels, rate, average bytes per second, block
// align, bits, extra size 0.
std::array<std::uint8_t, 18> OmplirFormatPCM(std::int32_t codiFormat);

// Result codes of EscriureWav.
inline constexpr std::int32_t kWavCorrecte = 0;
inline constexpr std::int32_t kWavNoEsPotCrear = 1;
inline constexpr std::int32_t kWavErrorAvis = 2;
inline constexpr std::int32_t kWavErrorFormat = 3;
inline constexpr std::int32_t kWavErrorDades = 4;

// Where the bytes go. Offsets are from the start of the file.
class SortidaWav {
public:
    virtual ~SortidaWav() = default;
    virtual bool Escriure(const void* dades, std::size_t mida) = 0;
    virtual bool EscriureA(std::uint64_t posicio, const void* dades, std::size_t mida) = 0;
    virtual std::uint64_t Posicio() const = 0;
};

// The temporary of a whole-or-nothing file replacement as the writer's output.
class SortidaWavSubstitucio final : public SortidaWav {
public:
    explicit SortidaWavSubstitucio(SubstitucioFitxer& fitxer) : fitxer_(fitxer) {}
    bool Escriure(const void* dades, std::size_t mida) override {
        return fitxer_.Escriure({static_cast<const std::uint8_t*>(dades), mida});
    }
    bool EscriureA(std::uint64_t posicio, const void* dades, std::size_t mida) override {
        return fitxer_.EscriureA(posicio, {static_cast<const std::uint8_t*>(dades), mida});
    }
    std::uint64_t Posicio() const override { return fitxer_.Posicio(); }

private:
    SubstitucioFitxer& fitxer_;
};

// Gives a complete file written through SortidaWavSubstitucio its name: 0, or 4 when its bytes did not
// reach the disk, or 1 when it cannot take the name.
std::int32_t ConfirmarWav(SubstitucioFitxer& fitxer);

// Writes the whole file to `sortida`; returns 0 or the code of the step that failed (2, 3 or 4).
std::int32_t EscriureWav(SortidaWav& sortida, std::int32_t codiFormat, std::span<const std::uint8_t> dades);

// The most sample bytes a file can hold: what its 32-bit RIFF size can count, less the headers inside
// it and a pad byte (a little under 4 GiB).
inline constexpr std::uint64_t kDadesMaximesWav = 0xFFFFFFFFull - 112 - 1;

// A file written as its samples come, in format 0, with the layout of EscriureWav, in constant memory;
// it is written beside its name, as EscriureWav writes, and takes the name at Acabar.
//
// When samples cannot be added whole, because the disk filled or a file-size limit was met part-way
// or because they would take the data past `dadesMaximes`, the recording ends there: the file is cut
// back to the samples added before, and Acabar still makes a complete, shorter file of them (setting
// its sizes writes over bytes already there, which needs no more room on disk).
class GravacioWav {
public:
    // Creates the file and writes its headers, with no samples yet. `dadesMaximes`: the most sample
    // bytes it takes, up to the format's limit.
    explicit GravacioWav(const std::filesystem::path& nomFitxer,
                         std::uint64_t dadesMaximes = kDadesMaximesWav);

    // False when the file cannot be created or its headers written (Error() tells why); nothing else
    // then does anything.
    bool Oberta() const { return oberta_; }
    // Appends `mostres`; false when they end the recording (see above) or it had ended before.
    bool Afegir(std::span<const std::uint8_t> mostres);
    // The recording ended at `dadesMaximes`.
    bool AlLimit() const { return alLimit_; }
    // The system's error number of the last failure (a write, or Acabar's); 0 while nothing failed.
    int Error() const { return fitxer_.Error() != 0 ? fitxer_.Error() : error_; }
    // Sample bytes kept so far.
    std::uint64_t MidaDades() const { return oberta_ ? fitxer_.Posicio() - (iniciDades_ + 8) : 0; }

    // Sets the sizes (a zero pad byte after an odd count) and gives the file its name: 0, or 1 when it
    // was not created or cannot take the name, or 4 when its bytes did not reach the disk.
    std::int32_t Acabar();

private:
    SubstitucioFitxer fitxer_;
    std::uint64_t dadesMaximes_;
    std::uint64_t iniciDades_ = 0; // offset of the "data" chunk's id
    bool oberta_ = false;
    bool acabada_ = false;
    bool alLimit_ = false;
    int error_ = 0;
};

// Creates or replaces `nomFitxer` as a whole (a link is written through); returns 0, or 1 when it cannot
// be created or is a file the user may not write, or 2, 3, 4 as above. On a failure `error` (if given)
// receives the system's error number of it (EFBIG for more samples than the format can count).
std::int32_t EscriureWav(const std::filesystem::path& nomFitxer, std::int32_t codiFormat,
                         std::span<const std::uint8_t> dades, int* error = nullptr);

} // namespace tessora

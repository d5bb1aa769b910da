// Reading a sound file as 8-bit unsigned mono 11025 Hz.
//
// Stages: open the file and check that it is a regular file whose sound data is all there; decode it
// with libsndfile as doubles in blocks of frames; mix each frame's channels by their mean; convert
// other rates with libsamplerate's best sinc converter, flushing its tail at the end; turn each sample x
// into the byte nearest to 128 + 128 x, clamped to 0..255.
//
// A file whose header states more sound data than the file holds is refused as truncated: the formats
// whose length libsndfile takes from the file's size instead (WAV, RF64, AIFF, 8SVX, Wave64, CAF, Sun
// AU, Creative Voice) are checked here against their own header first; for every format, fewer frames
// decoded than libsndfile announced counts as truncated too.
//
// Some decoders inside libsndfile (mpg123 for MP3) print notes of their own on standard error about a
// damaged file, which the caller's one-line message would drown in. Standard error is silenced while
// libsndfile works on the file: a caller reads the file before it starts anything else that could print
// (a capture, windows), and the reason for a failure comes back in the result.
#include "LecturaSo.h"

#include "Constants.h"
#include "Descriptor.h"
#include "Numeric.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <samplerate.h>
#include <sndfile.h>
#include <span>
#include <string_view>
#include <sys/stat.h>

namespace tessora {

namespace {

constexpr sf_count_t kFramesPerBloc = 4096;
constexpr std::size_t kMostresSortidaConversor = 4096;

struct TancarSndfile {
    void operator()(SNDFILE* fitxer) const { sf_close(fitxer); }
};

struct AlliberarConversor {
    void operator()(SRC_STATE* estat) const { src_delete(estat); }
};

SoLlegit Fallada(const char* motiu) {
    SoLlegit resultat;
    resultat.Error = motiu;
    return resultat;
}

// An unsigned integer of `mida` bytes (up to 8).
std::uint64_t Enter(const std::uint8_t* bytes, std::size_t mida, bool bigEndian) {
    std::uint64_t valor = 0;
    for (std::size_t i = 0; i < mida; ++i)
        valor = (valor << 8) | bytes[bigEndian ? i : mida - 1 - i];
    return valor;
}

bool Es(const std::uint8_t* bytes, std::string_view text) {
    return std::memcmp(bytes, text.data(), text.size()) == 0;
}

constexpr std::uint64_t k32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t k64 = std::numeric_limits<std::uint64_t>::max();

// How a container lists its chunks. A chunk is an id, a size field and a body; the list starts at
// `Inici` and each chunk at a multiple of `Alineacio` from the start of the file.
struct Contenidor {
    std::string_view Marca; // at offset 0
    std::string_view Tipus; // at offset `PosicioTipus`
    std::size_t PosicioTipus;
    std::size_t Inici;
    std::size_t MidaId;   // 4, or 16 for the GUIDs of Wave64
    std::size_t MidaCamp; // bytes of the size field
    bool BigEndian;
    bool MidaAmbCapcalera; // Wave64 counts a chunk's own header in its size
    std::uint64_t Alineacio;
    std::string_view IdDades;  // the chunk of the sound data
    std::uint64_t Desconeguda; // a data size meaning "up to the end of the file", as a stream writes it
};

constexpr std::array<Contenidor, 9> kContenidors{{
    {"RIFF", "WAVE", 8, 12, 4, 4, false, false, 2, "data", k32},
    {"RIFX", "WAVE", 8, 12, 4, 4, true, false, 2, "data", k32},
    // RF64 states the data size in its "ds64" chunk and 0xFFFFFFFF in "data" itself.
    {"RF64", "WAVE", 8, 12, 4, 4, false, false, 2, "data", k64},
    {"FORM", "AIFF", 8, 12, 4, 4, true, false, 2, "SSND", k32},
    {"FORM", "AIFC", 8, 12, 4, 4, true, false, 2, "SSND", k32},
    {"FORM", "8SVX", 8, 12, 4, 4, true, false, 2, "BODY", k32},
    {"FORM", "16SV", 8, 12, 4, 4, true, false, 2, "BODY", k32},
    {"riff", "wave", 24, 40, 16, 8, false, true, 8, "data", k64},
    {"caff", "", 8, 8, 4, 8, true, false, 1, "data", k64},
}};

// Walks a chunk container up to its sound data: true when that states more bytes than follow it.
bool ChunkDadesTallat(int fd, std::uint64_t midaFitxer, const Contenidor& k) {
    const std::size_t midaCapcalera = k.MidaId + k.MidaCamp;
    std::array<std::uint8_t, 24> chunk{};
    std::optional<std::uint64_t> midaDs64;
    // Every step advances by at least a chunk header, so the walk ends.
    std::uint64_t posicio = k.Inici;
    while (posicio + midaCapcalera <= midaFitxer) {
        if (!LlegirA(fd, posicio, std::span(chunk).first(midaCapcalera))) return false;
        std::uint64_t mida = Enter(&chunk[k.MidaId], k.MidaCamp, k.BigEndian);
        if (k.MidaAmbCapcalera) {
            if (mida < midaCapcalera) return false;
            mida -= midaCapcalera;
        }
        const std::uint64_t disponibles = midaFitxer - (posicio + midaCapcalera);
        if (Es(chunk.data(), "ds64") && mida >= 16) {
            std::array<std::uint8_t, 8> camp{};
            if (!LlegirA(fd, posicio + midaCapcalera + 8, camp)) return false;
            midaDs64 = Enter(camp.data(), camp.size(), false);
        }
        if (Es(chunk.data(), k.IdDades)) {
            if (mida == k32 && midaDs64) mida = *midaDs64;
            return mida != k.Desconeguda && mida > disponibles;
        }
        if (mida > disponibles) return false;
        posicio += midaCapcalera + mida;
        posicio += (k.Alineacio - posicio % k.Alineacio) % k.Alineacio;
    }
    return false;
}

// True when a file's sound data states more bytes than the file holds. libsndfile shortens such data
// to what is there, without an error, so a cut-off file would read as a shorter recording. The chunk
// containers above are walked; Sun/NeXT files state the data's offset and size in their header;
// Creative Voice files are a list of blocks, each with its length, ended by a block of type 0. A
// file written as a stream, its length unknown, is not a truncation. Any other file, or one whose list
// ends before the sound data, gets no verdict here.
bool DadesTallades(int fd, std::uint64_t midaFitxer) {
    std::array<std::uint8_t, 40> capcalera{};
    if (midaFitxer < capcalera.size() || !LlegirA(fd, 0, capcalera)) return false;
    const std::uint8_t* c = capcalera.data();
    if (Es(c, ".snd") || Es(c, "dns.")) {
        const bool bigEndian = Es(c, ".snd");
        const std::uint64_t mida = Enter(c + 8, 4, bigEndian);
        return mida != k32 && Enter(c + 4, 4, bigEndian) + mida > midaFitxer;
    }
    if (Es(c, "Creative Voice File\x1A")) {
        std::uint64_t posicio = Enter(c + 20, 2, false);
        std::array<std::uint8_t, 4> bloc{};
        while (posicio + bloc.size() <= midaFitxer && LlegirA(fd, posicio, bloc) && bloc[0] != 0) {
            posicio += bloc.size() + Enter(&bloc[1], 3, false);
            if (posicio > midaFitxer) return true;
        }
        return false;
    }
    for (const Contenidor& k : kContenidors)
        if (Es(c, k.Marca) && Es(c + k.PosicioTipus, k.Tipus)) return ChunkDadesTallat(fd, midaFitxer, k);
    return false;
}

// The mean of a frame's channels. A float file may hold values that are not finite: NaN counts as
// silence and infinities as full scale, so they cannot spread through the rate converter's filter.
Estesa MitjanaCanals(const double* frame, int canals) {
    Estesa suma = 0.0L;
    for (int c = 0; c < canals; ++c) {
        const double x = frame[c];
        if (std::isnan(x))
            continue;
        else if (std::isinf(x))
            suma += x > 0 ? 1.0L : -1.0L;
        else
            suma += x;
    }
    return suma / canals;
}

std::uint8_t ByteDeMostra(Estesa x) {
    const Estesa valor = std::nearbyint(128.0L + x * 128.0L);
    return static_cast<std::uint8_t>(std::clamp(valor, 0.0L, 255.0L));
}

// Feeds mono samples through libsamplerate and appends the converted samples as bytes.
class ConversorFrequencia {
public:
    ConversorFrequencia(SRC_STATE* estat, double rao) : Estat_(estat), Rao_(rao) {}

    // With `final` the converter's remaining output is drained after the input.
    bool Processar(const float* entrada, long frames, bool final, std::vector<std::uint8_t>& bytes) {
        SRC_DATA dades{};
        dades.data_in = entrada;
        dades.input_frames = frames;
        dades.src_ratio = Rao_;
        dades.end_of_input = final ? 1 : 0;
        for (;;) {
            dades.data_out = Sortida_.data();
            dades.output_frames = static_cast<long>(Sortida_.size());
            if (src_process(Estat_.get(), &dades) != 0) return false;
            for (long i = 0; i < dades.output_frames_gen; ++i)
                bytes.push_back(ByteDeMostra(Sortida_[static_cast<std::size_t>(i)]));
            dades.data_in += dades.input_frames_used;
            dades.input_frames -= dades.input_frames_used;
            if (dades.input_frames_used == 0 && dades.output_frames_gen == 0) return true;
            if (!final && dades.input_frames == 0) return true;
        }
    }

private:
    std::unique_ptr<SRC_STATE, AlliberarConversor> Estat_;
    double Rao_;
    std::array<float, kMostresSortidaConversor> Sortida_{};
};

SoLlegit Llegir(const std::filesystem::path& fitxer) {
    const Descriptor descriptor(::open(fitxer.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (descriptor.Fd() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return Fallada("file not found");
        if (errno == EACCES || errno == EPERM) return Fallada("permission denied");
        return Fallada("file cannot be opened");
    }
    struct stat estat {};
    if (::fstat(descriptor.Fd(), &estat) != 0) return Fallada("file cannot be opened");
    if (!S_ISREG(estat.st_mode)) return Fallada("not a regular file");
    const auto midaFitxer = static_cast<std::uint64_t>(estat.st_size);

    if (DadesTallades(descriptor.Fd(), midaFitxer)) return Fallada("file is truncated");

    const SilenciErrors silenci; // outlives `so`, so closing the decoder is silenced too
    SF_INFO informacio{};
    const std::unique_ptr<SNDFILE, TancarSndfile> so(
        sf_open_fd(descriptor.Fd(), SFM_READ, &informacio, SF_FALSE));
    if (!so) return Fallada("not a sound file in a known format");
    if (informacio.channels < 1 || informacio.samplerate < 1)
        return Fallada("not a sound file in a known format");
    if (informacio.frames == 0) return Fallada("file holds no samples");

    const double rao = static_cast<double>(kFrequenciaMostreig) / informacio.samplerate;
    std::optional<ConversorFrequencia> conversor;
    if (informacio.samplerate != kFrequenciaMostreig) {
        if (src_is_valid_ratio(rao) == 0) return Fallada("sample rate not supported");
        int errorConversor = 0;
        SRC_STATE* estatConversor = src_new(SRC_SINC_BEST_QUALITY, 1, &errorConversor);
        if (estatConversor == nullptr) return Fallada("sample rate conversion failed");
        conversor.emplace(estatConversor, rao);
    }

    SoLlegit resultat;
    const auto canals = static_cast<std::size_t>(informacio.channels);
    std::vector<double> bloc(static_cast<std::size_t>(kFramesPerBloc) * canals);
    std::vector<float> mono(static_cast<std::size_t>(kFramesPerBloc));
    sf_count_t framesLlegits = 0;
    for (;;) {
        const sf_count_t frames = sf_readf_double(so.get(), bloc.data(), kFramesPerBloc);
        if (frames <= 0) break;
        framesLlegits += frames;
        for (sf_count_t f = 0; f < frames; ++f) {
            const Estesa x = MitjanaCanals(&bloc[static_cast<std::size_t>(f) * canals], informacio.channels);
            if (conversor)
                mono[static_cast<std::size_t>(f)] = static_cast<float>(x);
            else
                resultat.Mostres.push_back(ByteDeMostra(x));
        }
        if (conversor &&
            !conversor->Processar(mono.data(), static_cast<long>(frames), false, resultat.Mostres))
            return Fallada("sample rate conversion failed");
    }
    if (sf_error(so.get()) != SF_ERR_NO_ERROR) return Fallada("sound data cannot be read");
    // libsndfile reports SF_COUNT_MAX when the length is not known in advance.
    if (informacio.frames != SF_COUNT_MAX && framesLlegits < informacio.frames)
        return Fallada("file is truncated");
    if (framesLlegits == 0) return Fallada("file holds no samples");
    if (conversor && !conversor->Processar(mono.data(), 0, true, resultat.Mostres))
        return Fallada("sample rate conversion failed");
    if (resultat.Mostres.empty()) return Fallada("file holds no samples");

    resultat.Correcte = true;
    return resultat;
}

} // namespace

SoLlegit LlegirFitxerSo(const std::filesystem::path& fitxer) {
    try {
        return Llegir(fitxer);
    } catch (const std::bad_alloc&) {
        return Fallada("out of memory");
    } catch (const std::exception&) {
        return Fallada("file cannot be read");
    }
}

} // namespace tessora

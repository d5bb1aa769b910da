// Reading a sound file as 8-bit unsigned mono 11025 Hz.
//
// Stages: open the file and check that it is a regular file whose sound data is all there; decode it
// with libsndfile as doubles in blocks of frames; mix each frame's channels by their mean; convert
// other rates with libsamplerate's best sinc converter, flushing its tail at the end; turn each sample x
// into the byte nearest to 128 + 128 x, clamped to 0..255.
//
// libsndfile shortens a WAV or AIFF sound-data chunk that claims more bytes than the file holds to what
// is there, without an error, so a cut-off file would read as a shorter recording. The chunk list of
// those formats is walked here first and such a file is refused as truncated. For every format, fewer
// frames decoded than the header announced also counts as truncated.
#include "LecturaSo.h"

#include "Constants.h"
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
#include <sys/stat.h>
#include <unistd.h>

namespace tessora {

namespace {

constexpr sf_count_t kFramesPerBloc = 4096;
constexpr std::size_t kMostresSortidaConversor = 4096;

// Closes a descriptor it owns when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : Fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (Fd_ >= 0) ::close(Fd_);
    }
    int Fd() const { return Fd_; }

private:
    int Fd_;
};

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

bool LlegirA(int fd, std::uint64_t posicio, std::uint8_t* desti, std::size_t mida) {
    while (mida > 0) {
        const ssize_t llegits = ::pread(fd, desti, mida, static_cast<off_t>(posicio));
        if (llegits < 0 && errno == EINTR) continue;
        if (llegits <= 0) return false;
        desti += llegits;
        mida -= static_cast<std::size_t>(llegits);
        posicio += static_cast<std::uint64_t>(llegits);
    }
    return true;
}

std::uint32_t Enter32(const std::uint8_t* bytes, bool bigEndian) {
    std::uint32_t valor = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t byte = bytes[bigEndian ? i : 3 - i];
        valor = (valor << 8) | byte;
    }
    return valor;
}

// True when a RIFF/RIFX WAVE or FORM AIFF/AIFC file's sound-data chunk ("data", "SSND") states more
// bytes than follow its header. A stated size of 0xFFFFFFFF is the mark of a file written as a stream
// with its length unknown, which readers take as "up to the end of the file"; it is not a truncation.
// Any other file, or one whose chunk list ends before the sound data, gets no verdict here.
bool DadesTallades(int fd, std::uint64_t midaFitxer) {
    std::array<std::uint8_t, 12> capcalera{};
    if (midaFitxer < capcalera.size() || !LlegirA(fd, 0, capcalera.data(), capcalera.size())) return false;
    const auto es = [](const std::uint8_t* bytes, const char* text) {
        return std::memcmp(bytes, text, 4) == 0;
    };

    bool bigEndian = false;
    const char* idDades = nullptr;
    if ((es(&capcalera[0], "RIFF") || es(&capcalera[0], "RIFX")) && es(&capcalera[8], "WAVE")) {
        bigEndian = es(&capcalera[0], "RIFX");
        idDades = "data";
    } else if (es(&capcalera[0], "FORM") && (es(&capcalera[8], "AIFF") || es(&capcalera[8], "AIFC"))) {
        bigEndian = true;
        idDades = "SSND";
    } else {
        return false;
    }

    // Every step advances by at least the 8 header bytes, so the walk ends.
    std::uint64_t posicio = capcalera.size();
    std::array<std::uint8_t, 8> chunk{};
    while (posicio + chunk.size() <= midaFitxer) {
        if (!LlegirA(fd, posicio, chunk.data(), chunk.size())) return false;
        const std::uint64_t mida = Enter32(&chunk[4], bigEndian);
        const std::uint64_t disponibles = midaFitxer - (posicio + chunk.size());
        if (es(&chunk[0], idDades))
            return mida != std::numeric_limits<std::uint32_t>::max() && mida > disponibles;
        posicio += chunk.size() + mida + (mida % 2);
    }
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

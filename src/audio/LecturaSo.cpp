// Reading a sound file as 8-bit unsigned mono 11025 Hz, a block at a time.
//
// Opening checks everything that can be checked without decoding: a regular file whose sound data is all
// there, in a format libsndfile knows, at a rate that can carry speech. Then each Llegir decodes the
// next frames as they are needed, so memory stays the same whatever the length:
// - an 8-bit unsigned mono 11025 Hz file is read as the raw bytes of its data;
// - integer PCM (8 to 32 bits, any channels) is decoded as 32-bit integers and mixed in integers; at
//   11025 Hz each frame becomes its byte by exact integer rounding;
// - other encodings (float, compressed) are decoded as doubles and mixed in long double;
// - other rates go through libsoxr at its high quality, as floats, its tail flushed at the end; its
//   output becomes bytes through an exact rounding of 128 x.
// Every sample x becomes the byte nearest to 128 + 128 x, halves to even, clamped to 0..255.
//
// A file whose header states more sound data than the file holds is refused as truncated when it is
// opened: the formats whose length libsndfile takes from the file's size instead (WAV, RF64, AIFF, 8SVX,
// Wave64, CAF, Sun AU, Creative Voice, NIST Sphere, MATLAB 4 and 5, AVR, FastTracker 2 XI, MIDI sample
// dump, Akai MPC 2000, Psion WVE) are checked here against their own header. For every format,
// fewer frames decoded than libsndfile announced, or a read that fails, ends the samples early with the
// reason in Error(), which a caller that has already used the samples before it reports then.
//
// Some decoders inside libsndfile (mpg123 for MP3) print notes of their own on standard error about a
// damaged file, which the caller's one-line message would drown in. Standard error is silenced while
// libsndfile opens, decodes anything but plain PCM, and closes the file; the reason for a failure comes
// back to the caller instead.
#include "LecturaSo.h"

#include "Constants.h"
#include "Descriptor.h"
#include "Numeric.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <sndfile.h>
#include <soxr.h>
#include <span>
#include <string_view>
#include <sys/stat.h>

namespace tessora {

namespace {

// Frames decoded at a time, and room for what the converter gives back for them: the memory a reader
// needs, whatever the length of the recording.
constexpr sf_count_t kFramesPerBloc = 4096;
constexpr std::size_t kMostresSortidaConversor = 4096;
constexpr std::size_t kBytesCru = 65536;

struct TancarSndfile {
    void operator()(SNDFILE* fitxer) const { sf_close(fitxer); }
};

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

// a x b x c, or the largest value when that does not fit (more than any file holds).
std::uint64_t Producte(std::uint64_t a, std::uint64_t b, std::uint64_t c = 1) {
    std::uint64_t ab = 0;
    std::uint64_t abc = 0;
    return __builtin_mul_overflow(a, b, &ab) || __builtin_mul_overflow(ab, c, &abc) ? k64 : abc;
}

// The first bytes of a file, as far as a header looked at here goes (NIST Sphere's is the longest);
// zeros past the end of a shorter file.
constexpr std::size_t kMidaCapcalera = 1024;
using Capcalera = std::array<std::uint8_t, kMidaCapcalera>;

// Where a header says the sound data lies: its offset and its size in bytes.
struct DadesDeclarades {
    std::uint64_t Inici;
    std::uint64_t Mida;
};

// NIST Sphere: a text header ("NIST_1A", its own length, then one "name -type value" field a line);
// the data is sample_count frames of channel_count x sample_n_bytes bytes.
std::optional<DadesDeclarades> DadesNist(const Capcalera& capcalera) {
    const std::string_view h(reinterpret_cast<const char*>(capcalera.data()), capcalera.size());
    const auto numero = [h](std::size_t posicio) -> std::optional<std::uint64_t> {
        std::uint64_t valor = 0;
        posicio = h.find_first_not_of(' ', posicio);
        if (posicio == std::string_view::npos ||
            std::from_chars(h.data() + posicio, h.data() + h.size(), valor).ec != std::errc())
            return std::nullopt;
        return valor;
    };
    // The value after the field's type ("-i" for an integer, "-s1" for a one-character string).
    const auto camp = [&](std::string_view nom, std::uint64_t perDefecte) -> std::optional<std::uint64_t> {
        const std::size_t posicio = h.find("\n" + std::string(nom) + " -");
        if (posicio == std::string_view::npos) return perDefecte;
        const std::size_t valor = h.find(' ', posicio + nom.size() + 2);
        return valor == std::string_view::npos ? std::nullopt : numero(valor);
    };
    const auto inici = numero(8);
    const auto frames = camp("sample_count", 0);
    const auto canals = camp("channel_count", 1);
    const auto bytes = camp("sample_n_bytes", 1); // A-law and u-law files may leave it out
    if (!inici || !frames || *frames == 0 || !canals || !bytes) return std::nullopt;
    return DadesDeclarades{*inici, Producte(*frames, *canals, *bytes)};
}

// MATLAB 4 (as libsndfile writes it): a one-by-one matrix of the rate, then the samples' matrix of
// channels by frames. Each matrix header is five 32-bit fields: a type whose tens digit gives the
// sample's size, rows, columns, an imaginary flag and the length of the name that follows it.
std::optional<DadesDeclarades> DadesMat4(const Capcalera& capcalera, bool bigEndian) {
    const auto camp = [&](std::size_t posicio) { return Enter(&capcalera[posicio], 4, bigEndian); };
    constexpr std::uint64_t kMidaNomMaxima = 64;               // libsndfile reads no longer names
    constexpr std::array<std::uint64_t, 4> kBytes{8, 4, 4, 2}; // double, float, 32-bit, 16-bit
    if (camp(16) >= kMidaNomMaxima) return std::nullopt;
    const std::size_t mostres = 20 + camp(16) + 8;
    const std::uint64_t tipus = camp(mostres) % 100 / 10;
    if (camp(mostres + 16) >= kMidaNomMaxima || tipus >= kBytes.size()) return std::nullopt;
    return DadesDeclarades{mostres + 20 + camp(mostres + 16),
                           Producte(camp(mostres + 4), camp(mostres + 8), kBytes[tipus])};
}

// MATLAB 5: a 128-byte text header, then data elements (a 32-bit type and size, the body padded to 8
// bytes; a small element keeps its size in the type's upper half and its value in the size field): the
// rate's array, then the samples' array, whose flags, dimensions and name come before the samples'
// element. The arrays' own sizes are not to be trusted: libsndfile overstates them.
std::optional<DadesDeclarades> DadesMat5(const Capcalera& capcalera, bool bigEndian) {
    const auto camp = [&](std::uint64_t posicio) { return Enter(&capcalera[posicio], 4, bigEndian); };
    std::uint64_t posicio = 128 + 8 + camp(132) + 8;
    for (int element = 0; element < 3 && posicio + 8 <= capcalera.size(); ++element)
        posicio += (camp(posicio) >> 16) != 0 ? 8 : 8 + (camp(posicio + 4) + 7) / 8 * 8;
    if (posicio + 8 > capcalera.size()) return std::nullopt;
    return DadesDeclarades{posicio + 8, camp(posicio + 4)};
}

// The sound data of the formats whose header states its size in a field of its own, recognised by the
// marks libsndfile goes by; nothing for any other file, or a header that does not state it.
std::optional<DadesDeclarades> DadesDeCapcalera(const Capcalera& capcalera) {
    const std::uint8_t* c = capcalera.data();
    const auto le = [c](std::size_t posicio, std::size_t mida) { return Enter(c + posicio, mida, false); };
    const auto be = [c](std::size_t posicio, std::size_t mida) { return Enter(c + posicio, mida, true); };
    // Sun/NeXT: the data's offset and size (all ones: written as a stream, the size unknown).
    if (Es(c, ".snd") || Es(c, "dns.")) {
        const bool bigEndian = Es(c, ".snd");
        const std::uint64_t mida = Enter(c + 8, 4, bigEndian);
        if (mida == k32) return std::nullopt;
        return DadesDeclarades{Enter(c + 4, 4, bigEndian), mida};
    }
    if (Es(c, "NIST_1A\n")) return DadesNist(capcalera);
    if (le(0, 4) == 0 && le(4, 4) == 1 && le(8, 4) == 1) return DadesMat4(capcalera, false);
    if (be(0, 4) == 1000 && be(4, 4) == 1 && be(8, 4) == 1) return DadesMat4(capcalera, true);
    if (Es(c, "MATLAB 5") && (Es(c + 126, "IM") || Es(c + 126, "MI")))
        return DadesMat5(capcalera, Es(c + 126, "MI"));
    // Audio Visual Research: frames of the given bits, stereo when the low bit of "mono" is set.
    if (Es(c, "2BIT")) return DadesDeclarades{128, Producte(be(26, 4), be(14, 2) / 8, (c[13] & 1) + 1)};
    // Akai MPC 2000: frames of 16 bits, stereo when its flag is set.
    if (c[0] == 1 && c[1] == 4) return DadesDeclarades{42, Producte(le(30, 4), 2, c[21] != 0 ? 2 : 1)};
    // Psion: the bytes of A-law.
    if (Es(c, "ALawSoundFile**")) return DadesDeclarades{32, be(18, 4)};
    // FastTracker 2 instrument: 40 bytes for each of its samples, the first one's data size leading
    // them (0 where the writer did not fill it in).
    if (Es(c, "Extended Instrument:") && le(298, 4) != 0)
        return DadesDeclarades{298 + 40 * le(296, 2), le(298, 4)};
    // MIDI sample dump: a 21-byte header stating the number of samples, then packets of 127 bytes
    // holding 120 bytes of samples at 7 bits a byte.
    if (c[0] == 0xF0 && c[1] == 0x7E && c[2] < 0x80 && c[3] == 1 && c[6] != 0) {
        const std::uint64_t perPaquet = 120 / ((c[6] + 6u) / 7);
        const std::uint64_t mostres = c[10] | c[11] << 7 | c[12] << 14;
        return DadesDeclarades{21, (mostres + perPaquet - 1) / perPaquet * 127};
    }
    return std::nullopt;
}

// True when a file's sound data states more bytes than the file holds. libsndfile shortens such data
// to what is there, without an error (or, for a MIDI sample dump, makes the rest up), so a cut-off file
// would read as a shorter recording. The chunk containers above are walked; Creative Voice files are a
// list of blocks, each with its length, ended by a block of type 0; the other formats state the data's
// size in their header. A file written as a stream, its length unknown, is not a truncation. Any other
// file, or one whose list ends before the sound data, gets no verdict here.
bool DadesTallades(int fd, std::uint64_t midaFitxer) {
    Capcalera capcalera{};
    if (!LlegirA(fd, 0, std::span(capcalera).first(std::min<std::uint64_t>(midaFitxer, capcalera.size()))))
        return false;
    const std::uint8_t* c = capcalera.data();
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
    const std::optional<DadesDeclarades> dades = DadesDeCapcalera(capcalera);
    return dades && (dades->Inici > midaFitxer || dades->Mida > midaFitxer - dades->Inici);
}

// Rounds to the nearest integer, halves to even, by the current rounding mode (nearest): adding and
// taking away 1.5 x 2^52 leaves no bits below the unit. Exact for |y| < 2^51.
inline double ArrodonirParell(double y) {
    constexpr double kDesplacament = 0x1.8p52;
    volatile double suma = y + kDesplacament; // kept apart so that nothing folds the pair away
    return suma - kDesplacament;
}

// The byte of a sample whose value times 128 is `y`: 128 + y to the nearest, clamped to 0..255. Rounding
// y before adding 128 gives the same result, 128 being even.
inline std::uint8_t ByteDe128x(double y) {
    if (!(y > -128.0)) return y != y ? 128 : 0; // NaN is silence
    if (y >= 127.5) return 255;
    return static_cast<std::uint8_t>(128 + static_cast<int>(ArrodonirParell(y)));
}

// A frame of a float file: its channels' mean. A float file may hold values that are not finite: NaN
// counts as silence and infinities as full scale, so they cannot spread through the rate converter.
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

// libsndfile hands integer PCM of any width as 32-bit values scaled to full scale, exactly.
bool EsPcmEnter(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
        return true;
    default:
        return false;
    }
}

struct AlliberarConversor {
    void operator()(soxr_t conversor) const { soxr_delete(conversor); }
};

} // namespace

// The reader's state. Samples go: file -> frames (Enters or Reals) -> mono (bytes straight away at
// 11025 Hz, or floats through the converter into Convertides) -> bytes in Pendents, handed out by
// Llegir. An 8-bit unsigned mono 11025 Hz file goes from the file to Pendents as it is.
struct LectorSo::Estat {
    Descriptor Fitxer;
    std::unique_ptr<SNDFILE, TancarSndfile> So;
    SF_INFO Informacio{};
    bool Cru = false;       // 8-bit unsigned mono 11025 Hz: the file's bytes are the samples
    bool Enter = false;     // integer PCM: exact integer arithmetic
    bool Silenciar = false; // a decoder that may print notes of its own
    std::unique_ptr<soxr, AlliberarConversor> Conversor;
    std::vector<std::int32_t> Enters;
    std::vector<double> Reals;
    std::vector<float> Mono;
    std::vector<float> Convertides;
    std::vector<std::uint8_t> Pendents;
    std::size_t PrimerPendent = 0;
    sf_count_t FramesLlegits = 0;
    bool FinalFitxer = false;
    bool Buidat = false; // the converter's tail is out too
    std::string Error;

    // Reads the next frames and appends their bytes to Pendents; false when nothing more will come.
    bool Omplir();
    // The next frames: into Pendents as they are (Cru), else into Enters or Reals. How many (bytes for
    // Cru); 0 or less at the end or on an error.
    sf_count_t LlegirFrames();
    // The file has ended: the reason when it ended early, else the converter's tail. As Omplir.
    bool AcabarFitxer();
    // The converter's tail, once: true when it gave bytes.
    bool BuidarConversor();
    // At 11025 Hz, frames 0..n-1 straight into bytes: integers exactly, doubles in long double.
    void AfegirMitjanesEnteres(std::size_t n);
    void AfegirMitjanesReals(std::size_t n);
    // For the converter, frames 0..n-1 into Mono, as floats at full scale 1.
    void MonoDEnters(std::size_t n);
    void MonoDeReals(std::size_t n);
    std::int64_t SumaCanals(std::size_t frame) const; // of Enters
    void AfegirBytes(const float* mostres, std::size_t n);
    bool Convertir(const float* mostres, std::size_t n);
};

void LectorSo::Estat::AfegirBytes(const float* mostres, std::size_t n) {
    const std::size_t inici = Pendents.size();
    Pendents.resize(inici + n);
    for (std::size_t i = 0; i < n; ++i)
        Pendents[inici + i] = ByteDe128x(128.0 * static_cast<double>(mostres[i]));
}

// Feeds mono samples through the converter (none: its tail) and appends what comes out.
bool LectorSo::Estat::Convertir(const float* mostres, std::size_t n) {
    for (;;) {
        std::size_t usades = 0;
        std::size_t fetes = 0;
        if (soxr_process(Conversor.get(), mostres, n, &usades, Convertides.data(), Convertides.size(),
                         &fetes) != nullptr)
            return false;
        AfegirBytes(Convertides.data(), fetes);
        if (mostres != nullptr) {
            mostres += usades;
            n -= usades;
            if (n == 0) return true;
        } else if (fetes == 0) {
            return true;
        }
    }
}

bool LectorSo::Estat::Omplir() {
    if (FinalFitxer) return BuidarConversor();
    const sf_count_t frames = LlegirFrames();
    if (frames <= 0) return AcabarFitxer();
    FramesLlegits += frames;
    if (Cru) return true; // the bytes are in Pendents already
    const auto n = static_cast<std::size_t>(frames);
    if (!Conversor) {
        if (Enter)
            AfegirMitjanesEnteres(n);
        else
            AfegirMitjanesReals(n);
        return true;
    }
    if (Enter)
        MonoDEnters(n);
    else
        MonoDeReals(n);
    if (Convertir(Mono.data(), n)) return true;
    Error = "sample rate conversion failed";
    FinalFitxer = Buidat = true;
    return false;
}

sf_count_t LectorSo::Estat::LlegirFrames() {
    if (Cru) {
        // The bytes of the data chunk, as they are, a large piece at a time.
        Pendents.resize(kBytesCru);
        const sf_count_t bytes = sf_read_raw(So.get(), Pendents.data(), static_cast<sf_count_t>(kBytesCru));
        Pendents.resize(static_cast<std::size_t>(std::max<sf_count_t>(bytes, 0)));
        return bytes;
    }
    std::optional<SilenciErrors> silenci;
    if (Silenciar) silenci.emplace();
    return Enter ? sf_readf_int(So.get(), Enters.data(), kFramesPerBloc)
                 : sf_readf_double(So.get(), Reals.data(), kFramesPerBloc);
}

bool LectorSo::Estat::AcabarFitxer() {
    FinalFitxer = true;
    if (sf_error(So.get()) != SF_ERR_NO_ERROR) Error = "sound data cannot be read";
    // libsndfile reports SF_COUNT_MAX when the length is not known in advance.
    else if (Informacio.frames != SF_COUNT_MAX && FramesLlegits < Informacio.frames)
        Error = "file is truncated";
    else if (FramesLlegits == 0)
        Error = "file holds no samples";
    return Error.empty() && BuidarConversor();
}

bool LectorSo::Estat::BuidarConversor() {
    if (!Conversor || Buidat) return false;
    Buidat = true;
    if (!Convertir(nullptr, 0)) Error = "sample rate conversion failed";
    return !Pendents.empty();
}

std::int64_t LectorSo::Estat::SumaCanals(std::size_t frame) const {
    const auto c = static_cast<std::size_t>(Informacio.channels);
    std::int64_t suma = 0;
    for (std::size_t k = 0; k < c; ++k)
        suma += Enters[frame * c + k];
    return suma;
}

void LectorSo::Estat::AfegirMitjanesEnteres(std::size_t n) {
    // The mean of the channels times 128 is sum / (canals x 2^24); with N = sum + canals x 2^31, the byte
    // is N / (canals x 2^24) rounded to the nearest, halves to even, at most 255.
    const std::int64_t canals = Informacio.channels;
    const std::int64_t divisor = canals << 24;
    const std::int64_t meitat = divisor / 2;
    const std::size_t inici = Pendents.size();
    Pendents.resize(inici + n);
    for (std::size_t f = 0; f < n; ++f) {
        const std::int64_t valor = SumaCanals(f) + (canals << 31);
        std::int64_t byte = valor / divisor;
        const std::int64_t resta = valor % divisor;
        if (resta > meitat || (resta == meitat && byte % 2 != 0)) ++byte;
        Pendents[inici + f] = static_cast<std::uint8_t>(std::min<std::int64_t>(byte, 255));
    }
}

void LectorSo::Estat::AfegirMitjanesReals(std::size_t n) {
    const int canals = Informacio.channels;
    const auto c = static_cast<std::size_t>(canals);
    const std::size_t inici = Pendents.size();
    Pendents.resize(inici + n);
    for (std::size_t f = 0; f < n; ++f) {
        // Clamped first, so the rounding step below is exact.
        const Estesa y = 128.0L * MitjanaCanals(&Reals[f * c], canals);
        if (y <= -128.0L) {
            Pendents[inici + f] = 0;
        } else if (y >= 127.5L) {
            Pendents[inici + f] = 255;
        } else {
            constexpr Estesa kDesplacament = 0x1.8p63L;
            volatile Estesa suma = y + kDesplacament;
            Pendents[inici + f] = static_cast<std::uint8_t>(128 + static_cast<int>(suma - kDesplacament));
        }
    }
}

void LectorSo::Estat::MonoDEnters(std::size_t n) {
    // The channels' mean at full scale 1 (exact up to two channels).
    const double escala = 1.0 / (2147483648.0 * Informacio.channels);
    for (std::size_t f = 0; f < n; ++f)
        Mono[f] = static_cast<float>(static_cast<double>(SumaCanals(f)) * escala);
}

void LectorSo::Estat::MonoDeReals(std::size_t n) {
    const int canals = Informacio.channels;
    const auto c = static_cast<std::size_t>(canals);
    for (std::size_t f = 0; f < n; ++f)
        Mono[f] = static_cast<float>(MitjanaCanals(&Reals[f * c], canals));
}

LectorSo::LectorSo(std::unique_ptr<Estat> estat) : estat_(std::move(estat)) {}

LectorSo::~LectorSo() {
    if (estat_ && estat_->So) {
        const SilenciErrors silenci; // closing a decoder may print too
        estat_->So.reset();
    }
}

const std::string& LectorSo::Error() const {
    return estat_->Error;
}

std::size_t LectorSo::Llegir(std::span<std::uint8_t> desti) {
    Estat& e = *estat_;
    std::size_t omplerts = 0;
    try {
        while (omplerts < desti.size()) {
            if (e.PrimerPendent == e.Pendents.size()) {
                e.Pendents.clear();
                e.PrimerPendent = 0;
                const bool mesAVenir = e.Error.empty() && e.Omplir();
                if (!mesAVenir && e.Pendents.empty()) break;
                // The converter gives nothing back while it fills its delay line: read on.
                continue;
            }
            const std::size_t n = std::min(desti.size() - omplerts, e.Pendents.size() - e.PrimerPendent);
            std::memcpy(desti.data() + omplerts, e.Pendents.data() + e.PrimerPendent, n);
            e.PrimerPendent += n;
            omplerts += n;
        }
    } catch (const std::bad_alloc&) {
        e.Error = "out of memory";
        e.FinalFitxer = e.Buidat = true;
    }
    return omplerts;
}

std::unique_ptr<LectorSo> LectorSo::Obrir(const std::filesystem::path& fitxer, std::string& error) {
    auto estat = std::make_unique<Estat>();
    estat->Fitxer = Descriptor(::open(fitxer.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    const int fd = estat->Fitxer.Fd();
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return error = "file not found", nullptr;
        if (errno == EACCES || errno == EPERM) return error = "permission denied", nullptr;
        return error = "file cannot be opened", nullptr;
    }
    struct stat informacioFitxer {};
    if (::fstat(fd, &informacioFitxer) != 0) return error = "file cannot be opened", nullptr;
    if (!S_ISREG(informacioFitxer.st_mode)) return error = "not a regular file", nullptr;
    if (DadesTallades(fd, static_cast<std::uint64_t>(informacioFitxer.st_size)))
        return error = "file is truncated", nullptr;

    SF_INFO& informacio = estat->Informacio;
    {
        // libsndfile notes why an open failed in variables of its own, shared by the whole process: one
        // open at a time.
        static std::mutex obertura;
        const std::lock_guard bloqueig(obertura);
        const SilenciErrors silenci;
        estat->So.reset(sf_open_fd(fd, SFM_READ, &informacio, SF_FALSE));
        if (!estat->So) return error = "not a sound file in a known format", nullptr;
    }
    auto lector = std::unique_ptr<LectorSo>(new LectorSo(std::move(estat)));
    Estat& e = *lector->estat_;
    if (informacio.channels < 1 || informacio.samplerate < 1)
        return error = "not a sound file in a known format", nullptr;
    if (informacio.frames == 0) return error = "file holds no samples", nullptr;
    if (informacio.samplerate < kFrequenciaMinimaFitxer)
        return error = "sample rate of " + std::to_string(informacio.samplerate) + " Hz is below " +
                       std::to_string(kFrequenciaMinimaFitxer) +
                       " Hz, too low to hold the vowels' formants (up to 2500 Hz)",
               nullptr;
    if (informacio.samplerate > kFrequenciaMaximaFitxer)
        return error = "sample rate of " + std::to_string(informacio.samplerate) + " Hz is above the " +
                       std::to_string(kFrequenciaMaximaFitxer) + " Hz accepted",
               nullptr;

    const int subformat = informacio.format & SF_FORMAT_SUBMASK;
    e.Enter = EsPcmEnter(informacio.format);
    e.Silenciar = !e.Enter;
    e.Cru = subformat == SF_FORMAT_PCM_U8 && informacio.channels == 1 &&
            informacio.samplerate == kFrequenciaMostreig;
    const auto c = static_cast<std::size_t>(informacio.channels);
    if (e.Enter)
        e.Enters.resize(static_cast<std::size_t>(kFramesPerBloc) * c);
    else
        e.Reals.resize(static_cast<std::size_t>(kFramesPerBloc) * c);
    if (informacio.samplerate != kFrequenciaMostreig) {
        const soxr_io_spec_t tipus = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t qualitat = soxr_quality_spec(SOXR_HQ, 0);
        const soxr_runtime_spec_t execucio = soxr_runtime_spec(1); // one thread
        soxr_error_t errorConversor = nullptr;
        e.Conversor.reset(soxr_create(informacio.samplerate, kFrequenciaMostreig, 1, &errorConversor, &tipus,
                                      &qualitat, &execucio));
        if (!e.Conversor || errorConversor != nullptr)
            return error = "sample rate conversion failed", nullptr;
        e.Mono.resize(static_cast<std::size_t>(kFramesPerBloc));
        e.Convertides.resize(kMostresSortidaConversor);
    }
    return lector;
}

SoLlegit LlegirFitxerSo(const std::filesystem::path& fitxer) {
    SoLlegit resultat;
    try {
        const std::unique_ptr<LectorSo> lector = LectorSo::Obrir(fitxer, resultat.Error);
        if (!lector) return resultat;
        std::array<std::uint8_t, 65536> bloc{};
        for (std::size_t n; (n = lector->Llegir(bloc)) > 0;)
            resultat.Mostres.insert(resultat.Mostres.end(), bloc.begin(),
                                    bloc.begin() + static_cast<long>(n));
        resultat.Error = lector->Error();
        if (resultat.Error.empty() && resultat.Mostres.empty()) resultat.Error = "file holds no samples";
    } catch (const std::bad_alloc&) {
        resultat.Error = "out of memory";
    } catch (const std::exception&) {
        resultat.Error = "file cannot be read";
    }
    resultat.Correcte = resultat.Error.empty();
    if (!resultat.Correcte) resultat.Mostres.clear();
    return resultat;
}

} // namespace tessora

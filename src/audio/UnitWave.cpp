// RIFF WAVE writer.
//
// Chunks behave as in the multimedia file interface the format comes from: a chunk's header is written
// with a size of 0 when the chunk is opened, and the real size (plus a pad byte for an odd size) when it
// is closed. A step that fails leaves its open chunks unpatched. A file is written through a
// whole-or-nothing replacement (SubstitucioFitxer): any failure leaves a file already there as it was,
// and a target the user may not write is refused as one that cannot be created (1).
//
// Failures are attributed to the step they happen in: the RIFF, LIST and ICOP headers, the notice and
// the closing of ICOP and LIST count as the notice (2); the "fmt " header, record and closing count as
// the format record (3); the "data" header, samples, pad byte and the closing of "data" and "RIFF" count
// as the samples (4), and so does a failure to flush the finished file to disk.
#include "UnitWave.h"

#include "Numeric.h"
#include "SubstitucioFitxer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <limits>

namespace tessora {

namespace {

constexpr std::uint64_t kMidaChunkMaxima = std::numeric_limits<std::uint32_t>::max();

void PosarLE16(std::uint8_t* desti, std::uint32_t valor) {
    desti[0] = static_cast<std::uint8_t>(valor & 0xFF);
    desti[1] = static_cast<std::uint8_t>((valor >> 8) & 0xFF);
}

void PosarLE32(std::uint8_t* desti, std::uint32_t valor) {
    PosarLE16(desti, valor & 0xFFFF);
    PosarLE16(desti + 2, valor >> 16);
}

// An open chunk: the file offset of its four-character id.
struct Chunk {
    std::uint64_t Inici = 0;
};

// Writes the id, a size of 0 and, for RIFF and LIST, the form or list type.
bool CrearChunk(SortidaWav& sortida, std::string_view id, Chunk& chunk, std::string_view tipus = {}) {
    std::array<std::uint8_t, 12> capcalera{};
    std::memcpy(capcalera.data(), id.data(), 4);
    if (!tipus.empty()) std::memcpy(capcalera.data() + 8, tipus.data(), 4);
    chunk.Inici = sortida.Posicio();
    return sortida.Escriure(capcalera.data(), tipus.empty() ? 8 : 12);
}

// Pads an odd-sized chunk with a zero byte (not counted in its size) and writes its size into its header.
bool TancarChunk(SortidaWav& sortida, const Chunk& chunk) {
    const std::uint64_t final = sortida.Posicio();
    if (final < chunk.Inici + 8) return false;
    const std::uint64_t mida = final - (chunk.Inici + 8);
    if (mida > kMidaChunkMaxima) return false;
    if (mida % 2 != 0) {
        const std::uint8_t zero = 0;
        if (!sortida.Escriure(&zero, 1)) return false;
    }
    std::array<std::uint8_t, 4> camp{};
    PosarLE32(camp.data(), static_cast<std::uint32_t>(mida));
    return sortida.EscriureA(chunk.Inici + 4, camp.data(), camp.size());
}

std::int32_t EscriureFitxer(const std::filesystem::path& nomFitxer, std::int32_t codiFormat,
                            std::span<const std::uint8_t> dades, int& error) {
    SubstitucioFitxer fitxer(nomFitxer);
    std::int32_t resultat = kWavNoEsPotCrear;
    if (fitxer.Oberta()) {
        SortidaWavSubstitucio sortida(fitxer);
        resultat = EscriureWav(sortida, codiFormat, dades);
        if (resultat == kWavCorrecte) resultat = ConfirmarWav(fitxer);
    }
    error = resultat == kWavCorrecte ? 0 : fitxer.Error() != 0 ? fitxer.Error() : EFBIG;
    return resultat;
}

} // namespace

std::int32_t ConfirmarWav(SubstitucioFitxer& fitxer) {
    switch (fitxer.Confirmar()) {
    case SubstitucioFitxer::Resultat::Correcte:
        return kWavCorrecte;
    case SubstitucioFitxer::Resultat::ErrorEscriptura:
        return kWavErrorDades;
    case SubstitucioFitxer::Resultat::NoEsPotCrear:
        break;
    }
    return kWavNoEsPotCrear;
}

ParametresFormat ParametresFormatWav(std::int32_t codiFormat) {
    ParametresFormat parametres{};
    parametres.Canals = (codiFormat % 2 != 0) ? 2 : 1;
    switch (codiFormat) {
    case 2:
    case 3:
    case 6:
    case 7:
    case 10:
    case 11:
        parametres.Bits = 16;
        break;
    default:
        parametres.Bits = 8;
        break;
    }
    if (codiFormat <= 3)
        parametres.MostresPerSegon = 11025;
    else if (codiFormat <= 7)
        parametres.MostresPerSegon = 22050;
    else
        parametres.MostresPerSegon = 44100;
    return parametres;
}

std::array<std::uint8_t, 18> OmplirFormatPCM(std::int32_t codiFormat) {
    const ParametresFormat parametres = ParametresFormatWav(codiFormat);
    const Estesa bytesPerMostra = static_cast<Estesa>(parametres.Bits) * 0.125L;
    const std::int32_t bytesPerSegon =
        Arrodonir(static_cast<Estesa>(parametres.MostresPerSegon) * bytesPerMostra * parametres.Canals);
    const std::int32_t alineacio = Arrodonir(bytesPerMostra * parametres.Canals);

    std::array<std::uint8_t, 18> format{};
    PosarLE16(&format[0], 1);
    PosarLE16(&format[2], static_cast<std::uint32_t>(parametres.Canals));
    PosarLE32(&format[4], static_cast<std::uint32_t>(parametres.MostresPerSegon));
    PosarLE32(&format[8], static_cast<std::uint32_t>(bytesPerSegon));
    PosarLE16(&format[12], static_cast<std::uint32_t>(alineacio));
    PosarLE16(&format[14], static_cast<std::uint32_t>(parametres.Bits));
    PosarLE16(&format[16], 0);
    return format;
}

std::int32_t EscriureWav(SortidaWav& sortida, std::int32_t codiFormat, std::span<const std::uint8_t> dades) {
    Chunk riff;
    Chunk llista;
    Chunk avis;
    if (!CrearChunk(sortida, "RIFF", riff, "WAVE") || !CrearChunk(sortida, "LIST", llista, "INFO") ||
        !CrearChunk(sortida, "ICOP", avis) || !sortida.Escriure(kAvisICOP.data(), kAvisICOP.size()) ||
        !TancarChunk(sortida, avis) || !TancarChunk(sortida, llista))
        return kWavErrorAvis;

    Chunk format;
    const std::array<std::uint8_t, 18> formatPCM = OmplirFormatPCM(codiFormat);
    if (!CrearChunk(sortida, "fmt ", format) || !sortida.Escriure(formatPCM.data(), formatPCM.size()) ||
        !TancarChunk(sortida, format))
        return kWavErrorFormat;

    // More samples than the 32-bit RIFF size can count cannot make a valid file.
    Chunk mostres;
    if (dades.size() > kDadesMaximesWav || !CrearChunk(sortida, "data", mostres) ||
        (!dades.empty() && !sortida.Escriure(dades.data(), dades.size())) || !TancarChunk(sortida, mostres) ||
        !TancarChunk(sortida, riff))
        return kWavErrorDades;
    return kWavCorrecte;
}

GravacioWav::GravacioWav(const std::filesystem::path& nomFitxer, std::uint64_t dadesMaximes)
    : fitxer_(nomFitxer), dadesMaximes_(std::min(dadesMaximes, kDadesMaximesWav)) {
    if (!fitxer_.Oberta()) return;
    SortidaWavSubstitucio sortida(fitxer_);
    oberta_ = EscriureWav(sortida, 0, {}) == kWavCorrecte;
    if (oberta_) iniciDades_ = fitxer_.Posicio() - 8;
}

bool GravacioWav::Afegir(std::span<const std::uint8_t> mostres) {
    if (!oberta_ || acabada_) return false;
    const std::uint64_t abans = fitxer_.Posicio();
    if (MidaDades() + mostres.size() > dadesMaximes_) {
        alLimit_ = true;
    } else if (fitxer_.Escriure(mostres)) {
        return true;
    } else {
        error_ = fitxer_.Error();
        fitxer_.Truncar(abans);
    }
    acabada_ = true;
    return false;
}

std::int32_t GravacioWav::Acabar() {
    if (!oberta_) return kWavNoEsPotCrear;
    SortidaWavSubstitucio sortida(fitxer_);
    if (!TancarChunk(sortida, Chunk{iniciDades_}) || !TancarChunk(sortida, Chunk{0})) return kWavErrorDades;
    return ConfirmarWav(fitxer_);
}

std::int32_t EscriureWav(const std::filesystem::path& nomFitxer, std::int32_t codiFormat,
                         std::span<const std::uint8_t> dades, int* error) {
    int errorSistema = 0;
    std::int32_t resultat = kWavNoEsPotCrear;
    // Only building the names and seeding the temporary name can throw; no file exists by then.
    try {
        resultat = EscriureFitxer(nomFitxer, codiFormat, dades, errorSistema);
    } catch (const std::exception&) {
        errorSistema = ENOMEM;
    }
    if (error != nullptr) *error = errorSistema;
    return resultat;
}

} // namespace tessora

// The settings file: loading, splitting into lines, finding an entry, and the edit that rewrites one.
//
// All matching is done on the file's own Windows-1252 bytes: names coming in are converted first, values
// going out are converted last. A write loads the whole file, edits its bytes and writes them to a
// temporary file in the same folder, which is flushed to disk and renamed over the old one.
#include "ArxiuIni.h"

#include "Cp1252.h"
#include "Descriptor.h"
#include "SubstitucioFitxer.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessora {

namespace {

constexpr std::string_view kFinalLinia = "\r\n";
constexpr std::string_view kMarcaOrdreBytes = "\xEF\xBB\xBF"; // UTF-8 byte-order mark

std::string_view Retallar(std::string_view text) {
    constexpr std::string_view kBlancs = " \t\r";
    const std::size_t inici = text.find_first_not_of(kBlancs);
    if (inici == std::string_view::npos) return {};
    return text.substr(inici, text.find_last_not_of(kBlancs) - inici + 1);
}

enum class TipusLinia { Altra, Seccio, Entrada };

struct Linia {
    std::string_view Text;  // without its line break
    std::string_view Final; // "\r\n", "\n", or empty for a last line without one
    TipusLinia Tipus = TipusLinia::Altra;
    std::string_view Nom;   // section or key, without blanks
    std::string_view Valor; // after '=', without blanks
};

Linia Classificar(std::string_view text, std::string_view final) {
    Linia linia;
    linia.Text = text;
    linia.Final = final;
    const std::string_view net = Retallar(text);
    const std::size_t tancament = net.find(']');
    const std::size_t igual = net.find('=');
    if (net.starts_with('[') && tancament != std::string_view::npos) {
        linia.Tipus = TipusLinia::Seccio;
        linia.Nom = Retallar(net.substr(1, tancament - 1));
    } else if (igual != std::string_view::npos) {
        linia.Tipus = TipusLinia::Entrada;
        linia.Nom = Retallar(net.substr(0, igual));
        linia.Valor = Retallar(net.substr(igual + 1));
    }
    return linia;
}

// The lines of the file, after its byte-order mark if it has one.
std::vector<Linia> Linies(std::string_view bytes) {
    std::vector<Linia> linies;
    std::size_t inici = bytes.starts_with(kMarcaOrdreBytes) ? kMarcaOrdreBytes.size() : 0;
    while (inici < bytes.size()) {
        const std::size_t salt = bytes.find('\n', inici);
        if (salt == std::string_view::npos) {
            linies.push_back(Classificar(bytes.substr(inici), {}));
            break;
        }
        const std::size_t final = salt > inici && bytes[salt - 1] == '\r' ? salt - 1 : salt;
        linies.push_back(
            Classificar(bytes.substr(inici, final - inici), bytes.substr(final, salt + 1 - final)));
        inici = salt + 1;
    }
    return linies;
}

// Where a key stands, or would go, in the first section of its name.
struct Lloc {
    std::optional<std::size_t> Seccio;  // line of the header
    std::optional<std::size_t> Entrada; // line of the key's first entry
    std::size_t DarreraEntrada = 0;     // the last entry of the section, or its header
};

Lloc Cercar(const std::vector<Linia>& linies, std::string_view seccio, std::string_view clau) {
    Lloc lloc;
    std::size_t i = 0;
    while (i < linies.size() && !(linies[i].Tipus == TipusLinia::Seccio && linies[i].Nom == seccio))
        ++i;
    if (i == linies.size()) return lloc;
    lloc.Seccio = i;
    lloc.DarreraEntrada = i;
    for (++i; i < linies.size() && linies[i].Tipus != TipusLinia::Seccio; ++i) {
        if (linies[i].Tipus != TipusLinia::Entrada) continue;
        lloc.DarreraEntrada = i;
        if (!lloc.Entrada && linies[i].Nom == clau) lloc.Entrada = i;
    }
    return lloc;
}

enum class EstatArxiu { Absent, Llegit, Illegible };

struct Contingut {
    EstatArxiu Estat = EstatArxiu::Absent;
    std::string Bytes;
};

// The whole file. Anything but a regular file of at most kMidaMaximaArxiuIni bytes is unreadable; a
// pipe or device is never waited on.
Contingut Carregar(const std::filesystem::path& cami) {
    Contingut contingut;
    if (cami.empty()) return contingut;
    const Descriptor fitxer(::open(cami.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fitxer.Fd() < 0) {
        if (errno != ENOENT && errno != ENOTDIR) contingut.Estat = EstatArxiu::Illegible;
        return contingut;
    }
    contingut.Estat = EstatArxiu::Illegible;
    struct stat estat {};
    if (::fstat(fitxer.Fd(), &estat) != 0 || !S_ISREG(estat.st_mode) ||
        static_cast<std::uint64_t>(estat.st_size) > kMidaMaximaArxiuIni)
        return contingut;
    std::string bytes;
    if (!LlegirTot(fitxer.Fd(), bytes, kMidaMaximaArxiuIni)) return contingut;
    contingut.Estat = EstatArxiu::Llegit;
    contingut.Bytes = std::move(bytes);
    return contingut;
}

} // namespace

std::filesystem::path CamiArxiuIni() {
    const std::filesystem::path carpeta = CarpetaXdg("XDG_CONFIG_HOME", ".config");
    return carpeta.empty() ? carpeta : carpeta / kNomArxiuIni;
}

std::string ArxiuIni::LlegirCadena(std::string_view seccio, std::string_view clau,
                                   std::string_view perDefecte) const {
    const Contingut contingut = Carregar(cami_);
    if (contingut.Estat != EstatArxiu::Llegit) return std::string(perDefecte);
    const std::vector<Linia> linies = Linies(contingut.Bytes);
    const Lloc lloc = Cercar(linies, ACp1252(seccio), ACp1252(clau));
    if (!lloc.Entrada) return std::string(perDefecte);
    return DesDeCp1252(linies[*lloc.Entrada].Valor);
}

bool ArxiuIni::EscriureCadena(std::string_view seccio, std::string_view clau, std::string_view valor) {
    const std::string seccioArxiu = ACp1252(seccio);
    const std::string clauArxiu = ACp1252(clau);
    const std::string valorArxiu = ACp1252(valor);
    const Contingut contingut = Carregar(cami_);
    if (contingut.Estat == EstatArxiu::Illegible) return false;
    const std::string_view antic = contingut.Bytes;
    const std::vector<Linia> linies = Linies(antic);
    const Lloc lloc = Cercar(linies, seccioArxiu, clauArxiu);

    // Everything before `tall` stays, then the new text, then everything from `represa` on.
    const auto posicio = [&](std::string_view part) {
        return static_cast<std::size_t>(part.data() - antic.data());
    };
    std::size_t tall = antic.size();
    std::size_t represa = antic.size();
    std::string nou;
    if (lloc.Entrada) {
        const Linia& entrada = linies[*lloc.Entrada];
        if (entrada.Valor == valorArxiu) return true; // already holds it: the file is left as it is
        tall = posicio(entrada.Text);
        represa = posicio(entrada.Text) + entrada.Text.size();
        nou = clauArxiu + '=' + valorArxiu;
    } else {
        std::string_view anterior; // the line the new text follows, if the file has one
        if (lloc.Seccio) {
            const Linia& darrera = linies[lloc.DarreraEntrada];
            anterior = darrera.Final;
            tall = represa = posicio(darrera.Text) + darrera.Text.size() + darrera.Final.size();
        } else if (!linies.empty()) {
            anterior = linies.back().Final;
        }
        if (!linies.empty() && anterior.empty()) nou += kFinalLinia;
        if (!lloc.Seccio) nou += '[' + seccioArxiu + ']' + std::string(kFinalLinia);
        nou += clauArxiu + '=' + valorArxiu + std::string(kFinalLinia);
    }
    std::string bytes;
    bytes.reserve(antic.size() + nou.size());
    bytes.append(antic.substr(0, tall)).append(nou).append(antic.substr(represa));
    return SubstituirFitxer(cami_, bytes, true); // missing folders are created
}

bool LlegirVeuAguda(const ArxiuIni& arxiu) {
    return arxiu.LlegirCadena(kSeccioTessora, kClauVeuAguda, kValorNo) == kValorSi;
}

bool LlegirCastella(const ArxiuIni& arxiu) {
    return arxiu.LlegirCadena(kSeccioTessora, kClauCastella, kValorSi) == kValorSi;
}

bool EscriureConfiguracio(ArxiuIni& arxiu, bool veuAguda, bool castella) {
    const bool veuEscrita =
        arxiu.EscriureCadena(kSeccioTessora, kClauVeuAguda, veuAguda ? kValorSi : kValorNo);
    const bool castellaEscrit =
        arxiu.EscriureCadena(kSeccioTessora, kClauCastella, castella ? kValorSi : kValorNo);
    return veuEscrita && castellaEscrit;
}

} // namespace tessora

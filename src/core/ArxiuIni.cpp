// The settings file: loading, splitting into lines, finding an entry, and the edit that rewrites one.
//
// All matching is done on the file's own Windows-1252 bytes: names coming in are converted first, values
// going out are converted last. A write loads the whole file, edits its bytes and writes them to a
// temporary file in the same folder, which is flushed to disk and renamed over the old one.
#include "ArxiuIni.h"

#include "Cp1252.h"
#include "SubstitucioFitxer.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessora {

namespace {

constexpr std::string_view kFinalLinia = "\r\n";

// Blanks as the profile functions see them; 0x1A is the old end-of-file mark.
bool EsBlanc(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

std::string_view Retallar(std::string_view text) {
    while (!text.empty() && EsBlanc(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && EsBlanc(text.back()))
        text.remove_suffix(1);
    return text;
}

// Lower case of a Windows-1252 byte: A-Z, the accented capitals 0xC0..0xDE (0xD7 is the multiplication
// sign), and Š Œ Ž Ÿ.
unsigned char Minuscula(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<unsigned char>(c + 16);
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

bool IgualsSenseMajuscules(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Minuscula(static_cast<unsigned char>(a[i])) != Minuscula(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

enum class TipusLinia { Buida, Seccio, Entrada, Comentari };

struct Linia {
    std::string_view Text;  // without its line break
    std::string_view Final; // "\r\n", "\n", "\r", or empty for a last line without one
    TipusLinia Tipus = TipusLinia::Buida;
    std::string_view Nom;                  // section or key, without blanks
    std::optional<std::string_view> Valor; // after '=', without blanks; none when the line has no '='
};

Linia Classificar(std::string_view text, std::string_view final) {
    Linia linia;
    linia.Text = text;
    linia.Final = final;
    const std::string_view net = Retallar(text);
    if (net.empty()) return linia;
    if (net.front() == '[') {
        const std::size_t tancament = net.rfind(']');
        if (tancament != std::string_view::npos) {
            linia.Tipus = TipusLinia::Seccio;
            linia.Nom = Retallar(net.substr(1, tancament - 1));
            return linia;
        }
    }
    if (net.front() == ';') {
        linia.Tipus = TipusLinia::Comentari;
        return linia;
    }
    linia.Tipus = TipusLinia::Entrada;
    const std::size_t igual = net.find('=');
    if (igual == std::string_view::npos) {
        linia.Nom = net;
    } else {
        linia.Nom = Retallar(net.substr(0, igual));
        linia.Valor = Retallar(net.substr(igual + 1));
    }
    return linia;
}

std::vector<Linia> Linies(std::string_view bytes) {
    std::vector<Linia> linies;
    std::size_t inici = 0;
    while (inici < bytes.size()) {
        const std::size_t salt = bytes.find_first_of("\r\n", inici);
        if (salt == std::string_view::npos) {
            linies.push_back(Classificar(bytes.substr(inici), {}));
            break;
        }
        const std::size_t mida =
            (bytes[salt] == '\r' && salt + 1 < bytes.size() && bytes[salt + 1] == '\n') ? 2 : 1;
        linies.push_back(Classificar(bytes.substr(inici, salt - inici), bytes.substr(salt, mida)));
        inici = salt + mida;
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
    while (i < linies.size() &&
           !(linies[i].Tipus == TipusLinia::Seccio && IgualsSenseMajuscules(linies[i].Nom, seccio)))
        ++i;
    if (i == linies.size()) return lloc;
    lloc.Seccio = i;
    lloc.DarreraEntrada = i;
    for (++i; i < linies.size() && linies[i].Tipus != TipusLinia::Seccio; ++i) {
        if (linies[i].Tipus != TipusLinia::Entrada) continue;
        lloc.DarreraEntrada = i;
        if (!lloc.Entrada && IgualsSenseMajuscules(linies[i].Nom, clau)) lloc.Entrada = i;
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
    char bloc[65536];
    for (;;) {
        const ssize_t llegits = ::read(fitxer.Fd(), bloc, sizeof bloc);
        if (llegits < 0 && errno == EINTR) continue;
        if (llegits < 0) return contingut;
        if (llegits == 0) break;
        bytes.append(bloc, static_cast<std::size_t>(llegits));
        if (bytes.size() > kMidaMaximaArxiuIni) return contingut;
    }
    contingut.Estat = EstatArxiu::Llegit;
    contingut.Bytes = std::move(bytes);
    return contingut;
}

// Replaces the file with `bytes` as a whole or not at all; missing folders are created.
bool Substituir(const std::filesystem::path& cami, std::string_view bytes) {
    SubstitucioFitxer fitxer(cami, true);
    return fitxer.Escriure({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}) &&
           fitxer.Confirmar() == SubstitucioFitxer::Resultat::Correcte;
}

bool TeSaltOZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string_view Truncar(std::string_view text, std::size_t midaBuffer) {
    return text.substr(0, midaBuffer == 0 ? 0 : midaBuffer - 1);
}

} // namespace

std::filesystem::path CamiArxiuIni() {
    const char* configuracio = std::getenv("XDG_CONFIG_HOME");
    if (configuracio != nullptr && std::filesystem::path(configuracio).is_absolute())
        return std::filesystem::path(configuracio) / kNomArxiuIni;
    std::filesystem::path casa;
    const char* home = std::getenv("HOME");
    if (home != nullptr && std::filesystem::path(home).is_absolute()) {
        casa = home;
    } else {
        passwd entrada{};
        passwd* resultat = nullptr;
        std::vector<char> memoria(16384);
        if (::getpwuid_r(::getuid(), &entrada, memoria.data(), memoria.size(), &resultat) == 0 &&
            resultat != nullptr && resultat->pw_dir != nullptr &&
            std::filesystem::path(resultat->pw_dir).is_absolute())
            casa = resultat->pw_dir;
    }
    if (casa.empty()) return {};
    return casa / ".config" / kNomArxiuIni;
}

std::string ArxiuIni::LlegirCadena(std::string_view seccio, std::string_view clau,
                                   std::string_view perDefecte, std::size_t midaBuffer) const {
    std::string defecte = ACp1252(perDefecte);
    while (!defecte.empty() && EsBlanc(defecte.back()))
        defecte.pop_back();
    const std::string resultatDefecte = DesDeCp1252(Truncar(defecte, midaBuffer));

    const std::string seccioArxiu = ACp1252(Retallar(seccio));
    const std::string clauArxiu = ACp1252(Retallar(clau));
    if (seccioArxiu.empty() || clauArxiu.empty()) return resultatDefecte;
    const Contingut contingut = Carregar(cami_);
    if (contingut.Estat != EstatArxiu::Llegit) return resultatDefecte;
    const std::vector<Linia> linies = Linies(contingut.Bytes);
    const Lloc lloc = Cercar(linies, seccioArxiu, clauArxiu);
    if (!lloc.Entrada || !linies[*lloc.Entrada].Valor) return resultatDefecte;

    std::string_view valor = *linies[*lloc.Entrada].Valor;
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') && valor.back() == valor.front())
        valor = valor.substr(1, valor.size() - 2);
    valor = valor.substr(0, valor.find('\0'));
    return DesDeCp1252(Truncar(valor, midaBuffer));
}

bool ArxiuIni::EscriureCadena(std::string_view seccio, std::string_view clau, std::string_view valor) {
    const std::string seccioArxiu(Retallar(ACp1252(seccio)));
    const std::string clauArxiu(Retallar(ACp1252(clau)));
    const std::string valorArxiu = ACp1252(valor);
    if (seccioArxiu.empty() || clauArxiu.empty() || TeSaltOZero(seccioArxiu) || TeSaltOZero(clauArxiu) ||
        TeSaltOZero(valorArxiu) || seccioArxiu.find(']') != std::string::npos ||
        clauArxiu.find('=') != std::string::npos || clauArxiu.front() == '[' || clauArxiu.front() == ';')
        return false;

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
        nou = std::string(entrada.Nom) + '=' + valorArxiu;
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
    return Substituir(cami_, bytes);
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

#include "SubstitucioFitxer.h"

#include "CarpetaTemporal.h"
#include "PerNom.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace tessora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const Bytes kAntic{'v', 'e', 'l', 'l'};
const Bytes kNou(1000, 0x5A);

// What stands at the target's name "f" before the replacement.
enum class Desti { Res, Fitxer, NomesLectura, Enllac, EnllacPenjant, BucleEnllacos, Carpeta, DiscPle };

// What the child reports: 0 replaced, 1 refused, 2 a write failed; with the system's error number.
constexpr int Codi(int resultat, int error = 0) {
    return resultat + 4 * error;
}

// The row's target, what the child reports (Codi), where the bytes are read back afterwards (the old
// ones unless replaced) with their permissions, and the folder's names.
struct Fila {
    const char* Nom;
    Desti Cas;
    int Resultat;
    const char* Mirat = "f";
    unsigned Permisos = 0; // 0: not checked
    std::vector<std::string> Noms = {"f"};
    const char* Cami = "f";
    bool CrearCarpetes = false;
    std::size_t Tall = 0; // written first; after a failure of the rest, cut back to it and put in place
    friend void PrintTo(const Fila& fila, std::ostream* sortida) { *sortida << fila.Nom; }
};

// Sets up the row and replaces the target, in a child process: as root it runs as "nobody" instead,
// since permissions bind no superuser, and a file-size limit stays in the child.
int Substituir(const fs::path& carpeta, const Fila& fila) {
    const auto f = carpeta / "f";
    if (fila.Cas == Desti::Fitxer || fila.Cas == Desti::NomesLectura || fila.Cas == Desti::DiscPle)
        proves::EscriureBytes(f, kAntic);
    if (fila.Cas == Desti::Fitxer) fs::permissions(f, fs::perms(0640));
    if (fila.Cas == Desti::NomesLectura) fs::permissions(f, fs::perms(0444));
    if (fila.Cas == Desti::Enllac) proves::EscriureBytes(carpeta / "real", kAntic);
    if (fila.Cas == Desti::Enllac || fila.Cas == Desti::EnllacPenjant) fs::create_symlink("real", f);
    if (fila.Cas == Desti::BucleEnllacos) fs::create_symlink("g", f), fs::create_symlink("f", carpeta / "g");
    if (fila.Cas == Desti::Carpeta) fs::create_directory(f);
    if (fila.Cas == Desti::DiscPle) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{600, 600};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 100;
    }
    SubstitucioFitxer fitxer(carpeta / fila.Cami, fila.CrearCarpetes);
    if (!fitxer.Oberta()) return Codi(1, fitxer.Error());
    const bool escrit = fitxer.Escriure(std::span(kNou).first(fila.Tall)) &&
                        fitxer.Escriure(std::span(kNou).subspan(fila.Tall));
    if (!escrit && !(fila.Tall > 0 && fitxer.Truncar(fila.Tall))) return Codi(2, fitxer.Error());
    return fitxer.Confirmar() == SubstitucioFitxer::Resultat::Correcte ? Codi(0, fitxer.Error()) : 3;
}

class SubstitucioFitxerDesti : public testing::TestWithParam<Fila> {};

TEST_P(SubstitucioFitxerDesti, SubstitueixORefusaSenseTocarRes) {
    const Fila& fila = GetParam();
    proves::CarpetaTemporal carpeta;
    EXPECT_EQ(
        proves::EnUnFillSensePrivilegis(carpeta.Cami(), [&] { return Substituir(carpeta.Cami(), fila); }),
        fila.Resultat);
    const auto mirat = carpeta.Cami() / fila.Mirat;
    const bool teAntic = fila.Cas == Desti::Fitxer || fila.Cas == Desti::NomesLectura ||
                         fila.Cas == Desti::Enllac || fila.Cas == Desti::DiscPle;
    const Bytes nou(kNou.begin(), kNou.begin() + static_cast<long>(fila.Tall > 0 ? fila.Tall : kNou.size()));
    EXPECT_EQ(proves::LlegirBytes(mirat), fila.Resultat == Codi(0) ? nou : teAntic ? kAntic : Bytes{});
    const auto permisos = fila.Permisos == 0 ? 0 : static_cast<unsigned>(fs::status(mirat).permissions());
    EXPECT_EQ(permisos, fila.Permisos);
    EXPECT_EQ(carpeta.Contingut(), fila.Noms);
    // A link stays a link.
    EXPECT_EQ(fs::is_symlink(carpeta.Cami() / "f"),
              fila.Cas >= Desti::Enllac && fila.Cas <= Desti::BucleEnllacos);
}

INSTANTIATE_TEST_SUITE_P(
    Destins, SubstitucioFitxerDesti,
    testing::Values(Fila{"Nou", Desti::Res, 0}, Fila{"ExistentMantePermisos", Desti::Fitxer, 0, "f", 0640},
                    Fila{"NomesLecturaEsRefusa", Desti::NomesLectura, Codi(1, EACCES), "f", 0444},
                    Fila{"EnllacEscriuElSeuDesti", Desti::Enllac, 0, "real", 0, {"f", "real"}},
                    Fila{"EnllacPenjantCreaElDesti", Desti::EnllacPenjant, 0, "real", 0, {"f", "real"}},
                    Fila{"BucleEsRefusa", Desti::BucleEnllacos, Codi(1, ELOOP), "f", 0, {"f", "g"}},
                    Fila{"CarpetaEsRefusa", Desti::Carpeta, Codi(1, EISDIR), "f/x", 0},
                    Fila{"CarpetaInexistentEsRefusa", Desti::Res, Codi(1, ENOENT), "no/f", 0, {}, "no/f"},
                    Fila{"CreaLesCarpetes", Desti::Res, 0, "no/f", 0, {"no"}, "no/f", true},
                    // The disk refuses the bytes part-way: the old file stays, the temporary goes.
                    Fila{"DiscPleDeixaLAntic", Desti::DiscPle, Codi(2, EFBIG)},
                    // ... unless what was written before the failure is kept.
                    Fila{"DiscPleTallatEsDesa", Desti::DiscPle, 0, "f", 0, {"f"}, "f", false, 500}),
    proves::PerNom{});

} // namespace
} // namespace tessora

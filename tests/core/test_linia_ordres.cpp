// The command line: our options taken out, the rest joined into LiniaOrdres, and the experimenter word.
#include "LiniaOrdres.h"
#include "PerNom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessora {
namespace {

// The arguments (program path first) and what comes out: the error, or the joined line, "(mode)" when
// it switches the experimenter mode on, and the file and device given.
using FilaArguments = std::tuple<const char*, std::vector<const char*>, std::string>;

std::string Resum(const SeparacioArguments& separacio) {
    if (!separacio.Error.empty()) return separacio.Error;
    const std::string linia = UnirLiniaOrdres(separacio.Restants);
    return linia + (ModeExperimentador(linia) ? " (mode)" : "") + " e=" + separacio.Entrada +
           " d=" + separacio.Dispositiu;
}

class LiniaOrdres : public testing::TestWithParam<FilaArguments> {};

TEST_P(LiniaOrdres, OpcionsLiniaIMode) {
    const auto& [nom, argv, resultat] = GetParam();
    const SeparacioArguments separacio =
        SepararArguments(static_cast<int>(argv.size()), argv.empty() ? nullptr : argv.data());
    EXPECT_EQ(Resum(separacio), resultat);
}

using F = FilaArguments;
INSTANTIATE_TEST_SUITE_P(
    Arguments, LiniaOrdres,
    testing::Values(
        F{"SenseVectorDArguments", {}, " e= d="}, F{"NomesElCamiDelPrograma", {"qevrun"}, " e= d="},
        F{"LaParaula", {"t", "qevrun"}, "qevrun (mode) e= d="},
        F{"PartidaEnArgumentsBuitsINuls", {"t", "", "qev", nullptr, "run"}, "qevrun (mode) e= d="},
        F{"AltresMajuscules", {"t", "qevRUN"}, "qevRUN e= d="},
        F{"SeguidaDUnAltre", {"t", "qevrun", "x"}, "qevrunx e= d="},
        F{"AmbEntradaDavant", {"t", "--entrada=a=b", "qevrun"}, "qevrun (mode) e=a=b d="},
        F{"DispositiuAlMig", {"t", "qev", "--dispositiu", "-x", "run"}, "qevrun (mode) e= d=-x"},
        F{"ElValorEsLaParaula", {"t", "--entrada", "qevrun"}, " e=qevrun d="},
        F{"QuasiOpcions",
          {"t", "--Entrada", "--entradaX", "-dispositiu"},
          "--Entrada--entradaX-dispositiu e= d="},
        F{"FaltaElValor", {"t", "--dispositiu"}, "option --dispositiu needs a value: --dispositiu NAME"},
        F{"BuitDespresDIgual", {"t", "--entrada="}, "option --entrada needs a value: --entrada FILE"},
        F{"AbansDUnaOpcio", {"t", "--entrada", "--x"}, "option --entrada needs a value: --entrada FILE"},
        F{"DuesVegades", {"t", "--entrada", "a", "--entrada=b"}, "option --entrada is given more than once"}),
    proves::PerNom{});

} // namespace
} // namespace tessora

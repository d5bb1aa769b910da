// The command line: our options taken out, the rest joined into LiniaOrdres, and the experimenter word.
#include "LiniaOrdres.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessora {
namespace {

struct FilaArguments {
    const char* Nom;
    std::vector<const char*> Argv; // program path first
    std::string LiniaOrdres;
    bool Experimentador;
    std::vector<std::string> Error = {}; // words the error must hold; none: no error
    std::string Entrada = "";            // empty: not given
    std::string Dispositiu = "";
};

const FilaArguments kArguments[] = {
    {"NoArgumentVector", {}, "", false},
    {"TheWord", {"t", "qevrun"}, "qevrun", true},
    {"SplitInTwo", {"t", "qev", "run"}, "qevrun", true},
    {"EmptyAndNullArguments", {"t", "", "qev", nullptr, "run", ""}, "qevrun", true},
    {"OtherCase", {"t", "qevRUN"}, "qevRUN", false},
    {"TrailingBlank", {"t", "qevrun "}, "qevrun ", false},
    {"FollowedByAnArgument", {"t", "qevrun", "x"}, "qevrunx", false},
    {"PrecededByAnArgument", {"t", "-", "qevrun"}, "-qevrun", false},
    {"OnlyTheProgramPath", {"qevrun"}, "", false},
    {"WithFileInput", {"t", "qevrun", "--entrada", "f.wav"}, "qevrun", true, {}, "f.wav"},
    {"FileInputFirst", {"t", "--entrada=f.wav", "qevrun"}, "qevrun", true, {}, "f.wav"},
    {"DeviceMidWord", {"t", "qev", "--dispositiu", "Mic USB", "run"}, "qevrun", true, {}, "", "Mic USB"},
    {"InOrder", {"t", "b", "--dispositiu=d", "a", "--entrada", "e f", "c"}, "bac", false, {}, "e f", "d"},
    {"ValueThatIsTheWord", {"t", "--entrada", "qevrun"}, "", false, {}, "qevrun"},
    {"EqualsOrDashInTheValue", {"t", "--entrada=a=b", "--dispositiu", "-x"}, "", false, {}, "a=b", "-x"},
    {"NearMisses", {"t", "--Entrada", "x", "--entradaX", "-entrada"}, "--Entradax--entradaX-entrada", false},
    {"DeviceNearMisses", {"t", "--dispositius", "x", "-dispositiu=y"}, "--dispositiusx-dispositiu=y", false},
    {"FileMissingAtTheEnd", {"t", "qevrun", "--entrada"}, "", false, {"--entrada", "value"}},
    {"NameMissingAtTheEnd", {"t", "--dispositiu"}, "", false, {"--dispositiu", "value"}},
    {"EmptyAfterEquals", {"t", "--entrada="}, "", false, {"--entrada", "value"}},
    {"EmptyArgument", {"t", "--dispositiu", ""}, "", false, {"--dispositiu", "value"}},
    {"FollowedByAnOption", {"t", "--entrada", "--dispositiu", "d"}, "", false, {"--entrada", "value"}},
    {"GivenTwice", {"t", "--entrada", "a", "--entrada=b"}, "", false, {"--entrada", "more than once"}},
    {"DeviceTwice", {"t", "--dispositiu=a", "--dispositiu=a"}, "", false, {"--dispositiu", "more than"}}};

TEST(LiniaOrdres, OptionsLineAndMode) {
    for (const FilaArguments& fila : kArguments) {
        SCOPED_TRACE(fila.Nom);
        const SeparacioArguments separacio = SepararArguments(static_cast<int>(fila.Argv.size()),
                                                              fila.Argv.empty() ? nullptr : fila.Argv.data());

        EXPECT_EQ(separacio.Error.empty(), fila.Error.empty()) << separacio.Error;
        for (const std::string& paraula : fila.Error)
            EXPECT_NE(separacio.Error.find(paraula), std::string::npos) << separacio.Error;
        EXPECT_EQ(separacio.Entrada, fila.Entrada);
        EXPECT_EQ(separacio.Dispositiu, fila.Dispositiu);
        // The program path and the rest; nothing after an error.
        EXPECT_EQ(separacio.Restants.empty(), fila.Argv.empty() || !fila.Error.empty());
        if (!separacio.Restants.empty() && !fila.Argv.empty()) {
            EXPECT_STREQ(separacio.Restants.front().c_str(), fila.Argv.front());
        }
        const std::string linia = UnirLiniaOrdres(separacio.Restants);
        EXPECT_EQ(linia, fila.LiniaOrdres);
        EXPECT_EQ(ModeExperimentador(linia), fila.Experimentador);
    }
}

} // namespace
} // namespace tessora

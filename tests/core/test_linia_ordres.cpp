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
    std::string Entrada;           // empty: not given
    std::string Dispositiu;
    std::string LiniaOrdres;
    bool Experimentador;
};

void PrintTo(const FilaArguments& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class Arguments : public testing::TestWithParam<FilaArguments> {};

TEST_P(Arguments, OptionsLineAndMode) {
    const FilaArguments& fila = GetParam();

    const SeparacioArguments separacio =
        SepararArguments(static_cast<int>(fila.Argv.size()), fila.Argv.data());

    ASSERT_EQ(separacio.Error, "");
    EXPECT_EQ(separacio.Entrada, fila.Entrada);
    EXPECT_EQ(separacio.Dispositiu, fila.Dispositiu);
    ASSERT_FALSE(separacio.Restants.empty());
    EXPECT_EQ(separacio.Restants.front(), fila.Argv.front());
    const std::string linia = UnirLiniaOrdres(separacio.Restants);
    EXPECT_EQ(linia, fila.LiniaOrdres);
    EXPECT_EQ(ModeExperimentador(linia), fila.Experimentador);
}

const std::string kCap;

INSTANTIATE_TEST_SUITE_P(
    LiniesOrdres, Arguments,
    testing::Values(
        FilaArguments{"NoArguments", {"tessora"}, kCap, kCap, "", false},
        FilaArguments{"TheWord", {"tessora", "qevrun"}, kCap, kCap, "qevrun", true},
        FilaArguments{"WordSplitInTwo", {"tessora", "qev", "run"}, kCap, kCap, "qevrun", true},
        FilaArguments{"WordSplitInThree", {"tessora", "q", "evr", "un"}, kCap, kCap, "qevrun", true},
        FilaArguments{"EmptyArgumentsAround", {"tessora", "", "qevrun", ""}, kCap, kCap, "qevrun", true},
        FilaArguments{"UpperCase", {"tessora", "QEVRUN"}, kCap, kCap, "QEVRUN", false},
        FilaArguments{"OneCapital", {"tessora", "Qevrun"}, kCap, kCap, "Qevrun", false},
        FilaArguments{"BlankInside", {"tessora", "qevrun x"}, kCap, kCap, "qevrun x", false},
        FilaArguments{"TrailingBlank", {"tessora", "qevrun "}, kCap, kCap, "qevrun ", false},
        FilaArguments{"FollowedByAnArgument", {"tessora", "qevrun", "x"}, kCap, kCap, "qevrunx", false},
        FilaArguments{"PrecededByAnArgument", {"tessora", "-", "qevrun"}, kCap, kCap, "-qevrun", false},
        FilaArguments{"ProgramPathIsNotPartOfIt", {"qevrun"}, kCap, kCap, "", false},
        FilaArguments{
            "WordWithFileInput", {"tessora", "qevrun", "--entrada", "f.wav"}, "f.wav", kCap, "qevrun", true},
        FilaArguments{
            "FileInputFirst", {"tessora", "--entrada=f.wav", "qevrun"}, "f.wav", kCap, "qevrun", true},
        FilaArguments{"OptionsBetweenTheHalves",
                      {"tessora", "qev", "--dispositiu", "Micròfon USB", "run"},
                      kCap,
                      "Micròfon USB",
                      "qevrun",
                      true},
        FilaArguments{"BothOptions",
                      {"tessora", "--dispositiu=hw:1", "qevrun", "--entrada", "/tmp/a b.wav"},
                      "/tmp/a b.wav",
                      "hw:1",
                      "qevrun",
                      true},
        FilaArguments{"ValueThatIsTheWord", {"tessora", "--entrada", "qevrun"}, "qevrun", kCap, "", false},
        FilaArguments{"EqualsInsideTheValue", {"tessora", "--entrada=a=b.wav"}, "a=b.wav", kCap, "", false},
        FilaArguments{"SingleDashValue", {"tessora", "--entrada", "-x.wav"}, "-x.wav", kCap, "", false},
        FilaArguments{"NearMissesAreNotOurs",
                      {"tessora", "--Entrada", "x", "--entradax", "-entrada", "--dispositius"},
                      kCap,
                      kCap,
                      "--Entradax--entradax-entrada--dispositius",
                      false}),
    [](const testing::TestParamInfo<FilaArguments>& info) { return std::string(info.param.Nom); });

TEST(Arguments, RestKeepsTheOrder) {
    const std::vector<const char*> argv = {"/usr/bin/tessora", "b", "--entrada", "f.wav", "a",
                                           "--dispositiu=d",   "c"};

    const SeparacioArguments separacio = SepararArguments(static_cast<int>(argv.size()), argv.data());

    ASSERT_EQ(separacio.Error, "");
    EXPECT_EQ(separacio.Restants, (std::vector<std::string>{"/usr/bin/tessora", "b", "a", "c"}));
}

TEST(Arguments, NoArgumentVectorAtAll) {
    const SeparacioArguments separacio = SepararArguments(0, nullptr);

    EXPECT_EQ(separacio.Error, "");
    EXPECT_TRUE(separacio.Restants.empty());
    EXPECT_EQ(UnirLiniaOrdres(separacio.Restants), "");
}

TEST(Arguments, NullEntryCountsAsEmpty) {
    const std::vector<const char*> argv = {"tessora", "qev", nullptr, "run"};

    const SeparacioArguments separacio = SepararArguments(static_cast<int>(argv.size()), argv.data());

    ASSERT_EQ(separacio.Error, "");
    EXPECT_TRUE(ModeExperimentador(UnirLiniaOrdres(separacio.Restants)));
}

struct FilaError {
    const char* Nom;
    std::vector<const char*> Argv;
    const char* Opcio; // the option the message must name
    const char* Motiu; // and a word of why
};

void PrintTo(const FilaError& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class ArgumentsErronis : public testing::TestWithParam<FilaError> {};

TEST_P(ArgumentsErronis, ErrorNamingTheOption) {
    const FilaError& fila = GetParam();

    const SeparacioArguments separacio =
        SepararArguments(static_cast<int>(fila.Argv.size()), fila.Argv.data());

    EXPECT_NE(separacio.Error.find(fila.Opcio), std::string::npos) << separacio.Error;
    EXPECT_NE(separacio.Error.find(fila.Motiu), std::string::npos) << separacio.Error;
    EXPECT_EQ(separacio.Entrada, "");
    EXPECT_EQ(separacio.Dispositiu, "");
    EXPECT_TRUE(separacio.Restants.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ArgumentsErronis,
    testing::Values(
        FilaError{"FileMissingAtTheEnd", {"tessora", "qevrun", "--entrada"}, "--entrada", "value"},
        FilaError{"NameMissingAtTheEnd", {"tessora", "--dispositiu"}, "--dispositiu", "value"},
        FilaError{"EmptyAfterEquals", {"tessora", "--entrada="}, "--entrada", "value"},
        FilaError{"EmptyArgument", {"tessora", "--dispositiu", ""}, "--dispositiu", "value"},
        FilaError{
            "FollowedByAnotherOption", {"tessora", "--entrada", "--dispositiu", "mic"}, "--entrada", "value"},
        FilaError{"GivenTwice", {"tessora", "--entrada", "a", "--entrada=b"}, "--entrada", "more than once"},
        FilaError{"DeviceGivenTwice",
                  {"tessora", "--dispositiu=a", "--dispositiu=a"},
                  "--dispositiu",
                  "more than once"}),
    [](const testing::TestParamInfo<FilaError>& info) { return std::string(info.param.Nom); });

} // namespace
} // namespace tessora

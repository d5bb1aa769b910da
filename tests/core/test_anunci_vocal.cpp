// The vowel said to a screen reader: at once when a second has passed, else the latest text when it has.
#include "AnunciVocal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tessora {
namespace {

// A letter shown at a time (ms), and what is said then; a row with an empty letter is the waiting
// text's due time, when Vencer is asked.
struct Pas {
    std::int64_t Ms;
    std::string Lletra;
    std::optional<std::string> Dit;
};
struct Cas {
    const char* Nom;
    std::vector<Pas> Passos;
};

class ProvaAnunciVocal : public testing::TestWithParam<Cas> {};

TEST_P(ProvaAnunciVocal, DiuElQueToca) {
    AnunciVocal anunci;
    for (const Pas& pas : GetParam().Passos) {
        const auto dit = pas.Lletra.empty() ? anunci.Vencer(pas.Ms) : anunci.Rebre(pas.Lletra, pas.Ms);
        EXPECT_EQ(dit, pas.Dit) << "at " << pas.Ms << " ms";
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, ProvaAnunciVocal,
                         testing::Values(Cas{"SeparadesUnSegon",
                                             {{0, "A", "A"}, {1000, "E", "E"}, {1000, "E", std::nullopt}}},
                                         Cas{"LaDarreraEsperaElSegon",
                                             {{0, "A", "A"},
                                              {300, "E", std::nullopt},
                                              {600, "I", std::nullopt},
                                              {999, "", std::nullopt},
                                              {1000, "", "I"},
                                              {1500, "O", std::nullopt},
                                              {2000, "", "O"}}},
                                         Cas{"TornarALaDitaNoDiuRes",
                                             {{0, "A", "A"},
                                              {300, "E", std::nullopt},
                                              {600, "A", std::nullopt},
                                              {1000, "", std::nullopt},
                                              {1200, "O", "O"}}}),
                         [](const testing::TestParamInfo<Cas>& info) { return std::string(info.param.Nom); });

TEST(AnunciVocal, TerminiNomesAmbUnTextEsperant) {
    AnunciVocal anunci;
    anunci.Rebre("A", 5000);
    EXPECT_EQ(anunci.Termini(), std::nullopt);
    anunci.Rebre("E", 5400);
    EXPECT_EQ(anunci.Termini(), 6000);
}

} // namespace
} // namespace tessora

// The vowel said to a screen reader: at once when a second has passed, else the latest text when it has.
#include "AnunciVocal.h"

#include <gtest/gtest.h>

namespace tessora {

// Each step: at a time (ms), a letter shown (empty: a wake-up, Vencer instead), what is said then, and
// when the text waiting is due.
TEST(AnunciVocal, UnCopPerSegonILaDarreraQueEspera) {
    const std::tuple<std::int64_t, const char*, std::optional<std::string>, std::optional<std::int64_t>>
        passos[] = {{0, "A", "A", {}},   {300, "E", {}, 1000}, {600, "I", {}, 1000},  {999, "", {}, 1000},
                    {1000, "", "I", {}}, {1500, "I", {}, {}},  {1600, "O", {}, 2000}, {1700, "I", {}, {}},
                    {2000, "", {}, {}},  {2500, "U", "U", {}}};
    AnunciVocal anunci;
    for (const auto& [ms, lletra, dit, termini] : passos) {
        EXPECT_EQ(*lletra != '\0' ? anunci.Rebre(lletra, ms) : anunci.Vencer(ms), dit) << ms;
        EXPECT_EQ(anunci.Termini(), termini) << ms;
    }
}

} // namespace tessora

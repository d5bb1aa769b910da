// The table of texts: every id has its row, with a text in each language, and the WAV writer's result
// codes reach their own messages.
#include "TextsIdioma.h"

#include <gtest/gtest.h>

namespace tessora {
namespace {

TEST(TextsIdioma, CadaTextTeLesDuesColumnes) {
    for (int i = 0; i < kNombreTexts; ++i)
        for (const Idioma idioma : {Idioma::Catala, Idioma::Castella})
            EXPECT_FALSE(Text(idioma, static_cast<IdText>(i)).empty()) << "text " << i;
}

TEST(TextsIdioma, CadaCodiDelGravadorTeElSeuMissatge) {
    EXPECT_EQ(MissatgeEscriureWav(0), "");
    EXPECT_EQ(MissatgeEscriureWav(1), "Imposible crear el archivo indicado");
    EXPECT_EQ(MissatgeEscriureWav(3), "Se produce un error durante el proceso de escritura del TPCMFormato");
    EXPECT_EQ(MissatgeEscriureWav(4), "Se produce un error durante el proceso de escritura");
    EXPECT_EQ(MissatgeEscriureWav(5), "");
}

} // namespace
} // namespace tessora

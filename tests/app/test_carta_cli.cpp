// tessora-cli --carta on a recording of a vowel synthesized from known formants: the chart's point of
// it sits within 15 % of the synthesized F1 and F2, in the colour of the vowel the line says.
#include "CarpetaTemporal.h"
#include "DibuixCarta.h"
#include "ExecucioCli.h"
#include "UnitWave.h"
#include "VocalSintetica.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <sstream>

namespace tessora {
namespace {

TEST(CartaCli, ElPuntEsAPropDelsFormantsSintetitzats) {
    const struct { double F1, F2; } c{750, 1250}; // an open vowel; the drawing tests place the others
    // Quiet, one utterance of six blocks, quiet.
    std::vector<std::uint8_t> so(2 * 512, 127);
    const auto bloc = proves::BytesVocalSintetica(100, c.F1, c.F2, 100);
    for (int b = 0; b < 6; ++b)
        so.insert(so.end(), bloc.begin(), bloc.end());
    so.insert(so.end(), 3 * 512, 127);
    const proves::CarpetaTemporal carpeta;
    const std::string wav = (carpeta.Cami() / "vocal.wav").string();
    const std::string png = (carpeta.Cami() / "carta.png").string();
    ASSERT_EQ(EscriureWav(wav, 0, so), kWavCorrecte);

    const char* argv[] = {"tessora-cli", "--carta", png.c_str(), wav.c_str()};
    std::ostringstream sortida, errors;
    ASSERT_EQ(ExecutarCli(4, argv, sortida, errors), 0) << errors.str();
    EXPECT_EQ(errors.str(), "");
    const std::string linia = sortida.str();
    const auto tab = linia.find('\t');
    const std::string vocal = linia.substr(tab + 1, linia.find('\t', tab + 1) - tab - 1);
    ASSERT_FALSE(vocal.empty()) << linia;

    const QImage imatge(QString::fromStdString(png));
    ASSERT_EQ(imatge.size(), QSize(640, 520));
    const EixosCarta eixos = EixosPerVeu(false);
    // F2 decreases to the right, F1 increases downwards.
    const QRect caixa(PuntDibuix(imatge.size(), eixos, c.F1 * 0.85, c.F2 * 1.15).toPoint(),
                      PuntDibuix(imatge.size(), eixos, c.F1 * 1.15, c.F2 * 0.85).toPoint());
    const QColor color = ColorVocal(vocal);
    int tinta = 0;
    for (int y = caixa.top(); y <= caixa.bottom(); ++y)
        for (int x = caixa.left(); x <= caixa.right(); ++x)
            tinta += imatge.pixelColor(x, y) == color;
    EXPECT_GE(tinta, 40) << linia; // the filled dot alone is about 150 pixels
}

} // namespace
} // namespace tessora

// The graphical application the chart's text needs, made here so that it is also taken down here (the
// program's own lives until the process ends).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacio(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

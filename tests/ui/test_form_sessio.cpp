// The timeline rendered into an image: each utterance's bar, letter and pitch where its blocks put them,
// in any view; and its window, frozen while the session goes on listening.
#include "AplicacioQtDeProva.h"
#include "DibuixCarta.h"
#include "DibuixSessio.h"

#include <QImage>

namespace tessora {
namespace {

const QSize kMida(640, 320);

// Silence up to block 20, an "A" at 220 Hz over blocks 20-29, silence, an "I" at 440 Hz that clipped
// over blocks 100-107, silence up to block 130.
LiniaTemps Escoltada() {
    LiniaTemps linia(400);
    const std::vector<std::uint8_t> bloc(kMidaBloc, 127);
    for (std::int64_t b = 0; b < 130; ++b) {
        const bool a = b >= 20 && b < 30, i = b >= 100 && b < 108;
        std::optional<AnalisiBloc> analisi;
        if (b == 21) analisi = AnalisiBloc{.Vocal = "A", .Frequencia = 220};
        if (b == 101) analisi = AnalisiBloc{.Vocal = "I", .Frequencia = 440};
        linia.Afegir(bloc, a ? 60 : i ? kNivellSaturacio : 0, analisi);
    }
    return linia;
}

bool Fosc(QColor c) {
    return c.lightness() < 100;
}

} // namespace

class ProvaFormSessio : public QObject {
    Q_OBJECT

private slots:
    void LesEmissionsSonOnToquen_data() {
        QTest::addColumn<qint64>("final");
        QTest::addColumn<qint64>("blocs");
        QTest::addRow("10 s, ara") << qint64{130} << qint64{BlocsEnSegons(10)};
        QTest::addRow("congelada i endarrere") << qint64{115} << qint64{110};
        QTest::addRow("1 min") << qint64{130} << qint64{BlocsEnSegons(60)};
    }
    void LesEmissionsSonOnToquen() {
        QFETCH(qint64, final);
        QFETCH(qint64, blocs);
        const LiniaTemps linia = Escoltada();
        const VistaSessio vista{final, blocs, std::int64_t{20}, Idioma::Catala};
        QImage imatge(kMida, QImage::Format_RGB32);
        QPainter pintor(&imatge);
        DibuixarSessio(pintor, kMida, linia, vista);
        pintor.end();
        const Arees arees = AreesSessio(kMida);
        const int yBarra = static_cast<int>(arees.Emissions.bottom()) - 4;
        const auto x = [&](std::int64_t bloc) { return static_cast<int>(XBloc(kMida, vista, bloc)); };
        const auto centre = [&](std::int64_t bloc) { return (x(bloc) + x(bloc + 1)) / 2; };
        const auto algun = [&](int x0, int x1, int y0, int y1, auto condicio) {
            for (int px = x0; px <= x1; ++px)
                for (int py = y0; py <= y1; ++py)
                    if (condicio(imatge.pixelColor(px, py))) return true;
            return false;
        };
        for (const auto& [vocal, primer, darrer, hz] :
             {std::tuple{"A", 20, 30, 220.0}, std::tuple{"I", 100, 108, 440.0}}) {
            // The bar in the vowel's colour, its letter above it, its pitch on its block's centre.
            QCOMPARE(imatge.pixelColor((x(primer) + x(darrer)) / 2, yBarra), ColorVocal(vocal));
            QVERIFY2(algun(x(primer) - 6, x(darrer) + 6, static_cast<int>(arees.Emissions.top()) + 2,
                           yBarra - 8, Fosc),
                     vocal);
            QCOMPARE(imatge.pixelColor(centre(primer + 1), static_cast<int>(YFrequencia(kMida, hz))).rgb(),
                     ColorVocal(vocal).darker(130).rgb());
            // The envelope: grey under a loud block, red under a clipped one.
            const QColor nivell =
                imatge.pixelColor(centre(primer + 1), static_cast<int>(arees.Nivell.bottom()) - 3);
            QCOMPARE(nivell.red() > 200, hz == 440.0);
            QVERIFY(nivell != Qt::white);
        }
        // Nothing between the bars; the clipped one outlined in red, the selected one in black.
        QCOMPARE(imatge.pixelColor(x(60), yBarra), QColor(Qt::white));
        QVERIFY(algun(x(100) - 3, x(100) - 1, yBarra, yBarra,
                      [](QColor c) { return c.red() > 180 && c.green() < 60; }));
        QVERIFY(algun(x(20) - 5, x(20) - 2, yBarra, yBarra, Fosc));
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormSessio)
#include "test_form_sessio.moc"

// The timeline rendered into an image: each utterance's bar, letter and pitch where its blocks put them,
// in any view; and its window, frozen while the session goes on listening.
#include "AplicacioQtDeProva.h"
#include "Arrencada.h"
#include "CarpetaTemporal.h"
#include "DialegsDeProva.h"
#include "DibuixCarta.h"
#include "DibuixSessio.h"
#include "DispositiuGuionat.h"
#include "EinesFinestra.h"
#include "UnitFormSessio.h"
#include "UnitTessora.h"
#include "VocalSintetica.h"

#include <QAction>
#include <QImage>
#include <QPushButton>

namespace tessora {
namespace {

using proves::Fill;

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

// The program started on a scripted input, listening.
struct App {
    proves::CarpetaTemporal Carpeta;
    proves::DispositiuGuionat Dispositiu;
    proves::DialegsDeProva Dialegs;
    AplicacioTessora Aplicacio{Dispositiu, Dialegs, Carpeta.Cami() / "Tessora.ini", ""};
    App() {
        if (!Aplicacio.Arrencar(0)) throw std::runtime_error("no start");
    }
    AplicacioTessora* operator->() { return &Aplicacio; }
};

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

    // Frozen, the picture stays while the session goes on listening; a click and the arrows select.
    void LaImatgeCongeladaQuedaIElsBlocsSegueixen() {
        App app;
        const auto sentir = [&](int n, bool veu) {
            static const auto vocal = proves::BytesVocalSintetica(88, 800, 1200, 90);
            for (int i = 0; i < n; ++i)
                app.Dispositiu.Lliurar(veu ? vocal : std::vector<std::uint8_t>(kMidaBloc, 127)),
                    QCoreApplication::processEvents();
        };
        sentir(10, false), sentir(6, true), sentir(10, false);
        Fill<QAction>(app->FormPrincipal.get(), "MenuSessio")->trigger();
        TFormSessio& f = *app->FormSessio;
        QWidget* client = Fill<QWidget>(&f, "Client");
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::keyClick(client, Qt::Key_Space);
        QVERIFY(Fill<QPushButton>(&f, "BotoCongelar")->isChecked());
        const QImage congelada = client->grab().toImage();
        const Sessio& sessio = *app->SessioActual;
        const std::int64_t rebuts = sessio.Linia().BlocsRebuts();
        sentir(6, true), sentir(4, false);
        QCOMPARE(sessio.Linia().BlocsRebuts(), rebuts + 10);
        QCOMPARE(sessio.Linia().Emissions().size(), std::size_t{2});
        QCOMPARE(client->grab().toImage(), congelada);

        const std::int64_t primera = sessio.Linia().Emissions().front().PrimerBloc;
        const QPoint barra(static_cast<int>(XBloc(client->size(), f.Vista(), primera)) + 1,
                           static_cast<int>(AreesSessio(client->size()).Emissions.center().y()));
        QTest::mouseClick(client, Qt::LeftButton, {}, barra);
        QCOMPARE(sessio.Seleccio(), primera);
        QTest::keyClick(client, Qt::Key_Down); // the next one, after the frozen view's end: the view follows
        QCOMPARE(sessio.Seleccio(), sessio.Linia().Emissions().back().PrimerBloc);
        QCOMPARE(f.Vista().Final, rebuts + 10);
        QTest::keyClick(client, Qt::Key_Escape);
        QCOMPARE(sessio.Seleccio(), std::nullopt);
    }

    // "Desa la sessió" writes the sound and its grid, or names the file that could not be written.
    void DesarLaSessio_data() {
        QTest::addColumn<QString>("carpeta");
        QTest::addRow("desada") << "";
        QTest::addRow("carpeta que no hi es") << "no-hi-es/";
    }
    void DesarLaSessio() {
        QFETCH(QString, carpeta);
        App app;
        const QString nom = Q((app.Carpeta.Cami() / carpeta.toStdString() / "classe").string());
        app.Dialegs.NomsDesar = {nom};
        Fill<QAction>(app->FormPrincipal.get(), "MenuDesarSessio")->trigger();
        const bool desada = carpeta.isEmpty();
        QCOMPARE(std::filesystem::exists((nom + ".wav").toStdString()), desada);
        QCOMPARE(std::filesystem::exists((nom + ".TextGrid").toStdString()), desada);
        QCOMPARE(app.Dialegs.Errors.size(), desada ? 0 : 1);
        if (!desada) QVERIFY(app.Dialegs.Errors.front().contains(nom + ".wav"));
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormSessio)
#include "test_form_sessio.moc"

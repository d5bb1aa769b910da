// The vowel chart rendered into an image: each point where its formants put it, in its vowel's
// colour; the experiment's hits and errors in their two forms.
#include "AplicacioQtDeProva.h"
#include "DibuixCarta.h"

#include <QImage>

namespace tessora {

class ProvaFormCarta : public QObject {
    Q_OBJECT

private slots:
    void ElPuntEsOnToca_data() {
        QTest::addColumn<QString>("vocal");
        QTest::addColumn<double>("f1");
        QTest::addColumn<double>("f2");
        QTest::addColumn<bool>("veuAguda");
        QTest::newRow("A al mig") << "A" << 750.0 << 1300.0 << false;
        QTest::newRow("I aguda fora de l'abast normal") << "I" << 400.0 << 2900.0 << true;
    }
    void ElPuntEsOnToca() {
        QFETCH(QString, vocal);
        QFETCH(double, f1);
        QFETCH(double, f2);
        QFETCH(bool, veuAguda);
        CartaVocals carta;
        carta.Afegir(
            PuntCarta{300.0f, 1000.0f, "É", 150, 0.0}); // an older point elsewhere, in the lightest colour
        carta.Afegir(
            PuntCarta{static_cast<float>(f1), static_cast<float>(f2), vocal.toStdString(), 150, 1.0});
        const QSize mida(480, 400);
        QImage imatge(mida, QImage::Format_RGB32);
        QPainter pintor(&imatge);
        DibuixarCarta(pintor, mida, carta, OpcionsDibuixCarta{veuAguda, Idioma::Catala});
        pintor.end();
        const QPoint centre = PuntDibuix(mida, EixosPerVeu(veuAguda), f1, f2).toPoint();
        QVERIFY(AreaCarta(mida).contains(centre));
        // The newest point is filled with its colour, ringed, and the plot is bare just beyond it (white,
        // or a light grid line).
        QCOMPARE(imatge.pixelColor(centre), ColorVocal(vocal.toStdString()));
        QVERIFY(imatge.pixelColor(centre - QPoint(12, 0)).lightness() > 200);
        // The older letter reads on white by its dark outline (a faded sky blue alone stays above 200).
        const QPoint antic = PuntDibuix(mida, EixosPerVeu(veuAguda), 300, 1000).toPoint();
        int fosc = 255;
        for (int y = -18; y < -3; ++y)
            for (int x = 5; x < 18; ++x)
                fosc = std::min(fosc, imatge.pixelColor(antic + QPoint(x, y)).lightness());
        QVERIFY2(fosc < 128, qPrintable(QString::number(fosc)));
    }

    // A model: a hollow ring in its vowel's colour, a line to the point of that vowel and the distance
    // beside it; the selected utterance's point ringed in black.
    void ElsModelsILaSeleccio() {
        ModelsVocals models;
        QVERIFY(models.Fixar("A", {700.0f, 1200.0f}));
        CartaVocals carta;
        carta.Afegir(PuntCarta{400.0f, 2000.0f, "A"});
        QImage imatge(480, 400, QImage::Format_RGB32);
        QPainter pintor(&imatge);
        DibuixarCarta(pintor, imatge.size(), carta,
                      {false, Idioma::Catala, &models, PuntCarta{300, 2300, "I"}});
        pintor.end();
        const auto lloc = [&](double f1, double f2) {
            return PuntDibuix(imatge.size(), EixosPerVeu(false), f1, f2);
        };
        const QPointF model = lloc(700, 1200), punt = lloc(400, 2000), triat = lloc(300, 2300);
        const auto clar = [&](QPointF p) { return imatge.pixelColor(p.toPoint()).lightness(); };
        QCOMPARE(imatge.pixelColor((model + QPointF(11, 0)).toPoint()), ColorVocal("A"));
        QVERIFY(clar(model) > 200 && clar((model + punt) / 2) < 240);
        int text = 255;
        for (int x = 10; x < 40; ++x)
            text = std::min(text, clar(punt + QPointF(x, 16)));
        QVERIFY(text < 100 && std::min({clar(triat + QPointF(13, 0)), clar(triat - QPointF(13, 0))}) < 100);
    }

    // A hit is a dot, an error a cross whose arms run diagonally; both in the prompted vowel's colour.
    void LesProvesDeLExperimentEnDuesFormes() {
        struct Sempre0 : FontAleatoria {
            void Sembrar() override {}
            std::int32_t Enter(std::int32_t) override { return 0; } // every prompt is A
        } font;
        const auto buffer = BufferSo::Crear();
        Experiment x(*buffer, font);
        x.PrepararTaules(Idioma::Castella, false);
        x.Experimentar([] { return true; });
        x.EscriureBlocActual({.F1 = 750.0f, .F2 = 1300.0f});
        x.ProcessarBlocExperiment("A"), x.AcabarPausa();
        x.EscriureBlocActual({.F1 = 300.0f, .F2 = 2300.0f});
        x.ProcessarBlocExperiment("I");
        const QSize mida(480, 400);
        QImage imatge(mida, QImage::Format_RGB32);
        QPainter pintor(&imatge);
        DibuixarCartaExperiment(pintor, mida, x, OpcionsDibuixCarta{});
        pintor.end();
        const auto esA = [&](QPoint p) {
            const QColor c = imatge.pixelColor(p), a = ColorVocal("A");
            return c.red() > 200 && c.green() < a.green() + 60 && c.blue() < 80; // vermilion over white
        };
        const QPoint encert = PuntDibuix(mida, EixosPerVeu(false), 750, 1300).toPoint();
        const QPoint error = PuntDibuix(mida, EixosPerVeu(false), 300, 2300).toPoint();
        QVERIFY(esA(encert) && esA(encert + QPoint(3, 0)));
        QVERIFY(esA(error) && esA(error + QPoint(3, 3)) && !esA(error + QPoint(3, 0)));
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormCarta)
#include "test_form_carta.moc"

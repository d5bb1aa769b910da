// A speaker's progress: the picture of two runs a week apart, and the window that reads them from the
// journal.
#include "AplicacioQtDeProva.h"
#include "Arrencada.h"
#include "CarpetaTemporal.h"
#include "DialegsDeProva.h"
#include "DibuixCarta.h"
#include "DibuixProgres.h"
#include "DispositiuGuionat.h"
#include "EinesFinestra.h"
#include "UnitFormProgres.h"
#include "UnitTessora.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QImage>

namespace tessora {

namespace {

constexpr std::int64_t kDilluns = 1'796'644'800; // 2026-12-07 12:00 UTC; the next run a week later
constexpr std::int64_t kSetmana = 7 * 24 * 3600;

ProvaDiari Prova(const char* demanada, const char* reconeguda, std::optional<float> f1 = {},
                 std::optional<float> s2f = {}) {
    return {demanada, reconeguda, 150.0f, f1, s2f, {}};
}

CursaDiari Cursa(std::int64_t inici, bool castella, std::vector<ProvaDiari> proves) {
    CursaDiari cursa;
    cursa.Parlant = "Núria", cursa.Inici = inici, cursa.Fi = inici + 300, cursa.Castella = castella;
    cursa.Proves = std::move(proves);
    return cursa;
}

// The first run: A half right (one hit and one error with formants), I right without formants (2/3
// overall); the latest all right; then a run of the Spanish set, later still.
std::vector<CursaDiari> DuesSetmanes() {
    return {Cursa(kDilluns, false, {Prova("A", "A", 750, 550), Prova("A", "O", 500, 400), Prova("I", "I")}),
            Cursa(kDilluns + kSetmana, false, {Prova("A", "A", 650, 850), Prova("I", "I", 300, 2000)}),
            Cursa(kDilluns + 2 * kSetmana, true, {Prova("E", "E", 450, 1500)})};
}

QImage Dibuix(QSize mida, const std::vector<CursaDiari>& curses, Idioma llengua) {
    QImage imatge(mida, QImage::Format_RGB32);
    QPainter pintor(&imatge);
    DibuixarProgres(pintor, mida, curses, llengua);
    return imatge;
}

} // namespace

class ProvaFormProgres : public QObject {
    Q_OBJECT

private slots:
    // Each run where its date and its rates put it, the runs of the other set left out; the charts of the
    // first and the latest run side by side.
    void DuesSeriesEnDuesDates() {
        const QSize mida(900, 640);
        const QImage imatge = Dibuix(mida, DuesSetmanes(), Idioma::Catala);
        const DisposicioProgres d = DisposarProgres(mida);
        const auto punt = [&](std::int64_t inici, double percentatge) {
            return PuntEncerts(d.Encerts, kDilluns, kDilluns + kSetmana, inici, percentatge).toPoint();
        };
        QCOMPARE(imatge.pixelColor(punt(kDilluns, 200.0 / 3)), QColor(64, 64, 64));
        QCOMPARE(imatge.pixelColor(punt(kDilluns + kSetmana, 100)), QColor(64, 64, 64));
        QCOMPARE(imatge.pixelColor(punt(kDilluns, 50)), ColorVocal("A"));
        QCOMPARE(punt(kDilluns + kSetmana, 0).x(), static_cast<int>(d.Encerts.right()) - 10);
        const auto esA = [&](const QRectF& carta, double f1, double f2) {
            const QColor c = imatge.pixelColor(
                (carta.topLeft() + PuntDibuix(carta.size().toSize(), EixosPerVeu(false), f1, f2)).toPoint());
            return c.red() > 200 && c.green() < ColorVocal("A").green() + 60 && c.blue() < 80;
        };
        QVERIFY(esA(d.CartaPrimera, 750, 1300) && !esA(d.CartaPrimera, 650, 1500));
        QVERIFY(esA(d.CartaDarrera, 650, 1500) && !esA(d.CartaDarrera, 750, 1300));
    }

    // Without a run of the language's set there is nothing to plot, and it says so.
    void CapSerieDelConjunt() {
        const QSize mida(900, 640);
        const QImage imatge = Dibuix(mida, {DuesSetmanes()[0]}, Idioma::Castella);
        QCOMPARE(imatge.pixelColor(DisposarProgres(mida).Encerts.center().toPoint()), QColor(245, 245, 245));
    }

    // The window lists the journal's speakers and shows the chosen one's runs, read from the file.
    void LaFinestraLlegeixElDiari() {
        proves::CarpetaTemporal carpeta;
        Diari diari(carpeta.Cami() / "diari.sqlite");
        std::vector<CursaDiari> curses = DuesSetmanes();
        curses.push_back(Cursa(kDilluns + 3 * 24 * 3600, false, {Prova("A", "O", 500, 400)}));
        curses.back().Parlant = "Pau";
        for (const CursaDiari& cursa : curses)
            QVERIFY(diari.Desar(cursa).Correcte());
        TFormProgres finestra(diari, Idioma::Catala, "Núria");
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        auto* combo = proves::Fill<QComboBox>(&finestra, "ComboParlant");
        QCOMPARE(combo->count(), 3); // the anonymous one, Núria, Pau
        QCOMPARE(finestra.Parlant(), "Núria");
        auto* client = proves::Fill<QWidget>(&finestra, "ClientProgres");
        const auto total = [&](std::int64_t primer, std::int64_t darrer, std::int64_t inici,
                               double percentatge) {
            const QImage imatge = client->grab().toImage();
            const QRectF area = DisposarProgres(client->size()).Encerts;
            return imatge.pixelColor(PuntEncerts(area, primer, darrer, inici, percentatge).toPoint());
        };
        QCOMPARE(total(kDilluns, kDilluns + kSetmana, kDilluns + kSetmana, 100), QColor(64, 64, 64));
        combo->setCurrentIndex(2);
        QCOMPARE(finestra.Parlant(), "Pau");
        const std::int64_t pau = curses.back().Inici;
        QCOMPARE(total(pau, pau, pau, 0), QColor(64, 64, 64));
    }

    // Progrés in the experimentation window opens the window on the session's journal, in the session's
    // language; it is the modal window's own, so the person can use it.
    void ElMenuDeLExperimentacioLObre() {
        proves::CarpetaTemporal carpeta;
        const std::filesystem::path diari = carpeta.Cami() / "diari.sqlite";
        const std::int64_t inici = kDilluns + kSetmana;
        QVERIFY(Diari(diari).Desar(Cursa(inici, true, {Prova("E", "E", 450, 1500)})).Correcte());
        proves::DispositiuGuionat dispositiu;
        proves::DialegsDeProva dialegs;
        AplicacioTessora app(dispositiu, dialegs, carpeta.Cami() / "Tessora.ini", "", {}, nullptr, nullptr,
                             {}, diari);
        QVERIFY(app.Arrencar(0)); // Spanish
        proves::QuanSObriUnModal([&](QWidget* experimentacio) {
            [&] {
                proves::Fill<QAction>(experimentacio, "MenuProgres")->trigger();
                TFormProgres* progres = app.FormProgres;
                QVERIFY(progres != nullptr && progres->isVisible() && progres->parent() == experimentacio);
                QCOMPARE(progres->windowTitle(), T(Idioma::Castella, IdText::TitolProgres));
                auto* combo = proves::Fill<QComboBox>(progres, "ComboParlant");
                QCOMPARE(combo->count(), 2); // the anonymous one, Núria
                // Through the platform, as a person clicks: the modal window does not block it.
                QTest::mouseClick(progres->windowHandle(), Qt::LeftButton, {},
                                  combo->mapTo(progres, combo->rect().center()));
                QTRY_VERIFY(combo->view()->isVisible());
                combo->hidePopup();
            }();
            experimentacio->close();
        });
        app.FormPrincipal->MenuExperimentarClick();
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormProgres)
#include "test_form_progres.moc"

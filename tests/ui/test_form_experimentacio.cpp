// A whole experiment through the real windows on the offscreen platform: scripted sound blocks answer
// the prompts, the menus stop and start it, the prompt's letter stops it, and closing the window
// exports, with the dialogs answered by the test; what is kept when the export fails, is cancelled or
// the program ends during it; the speaker field and the journal.
#include "AplicacioQtDeProva.h"
#include "Arrencada.h"
#include "CarpetaTemporal.h"
#include "Cp1252.h"
#include "DialegsDeProva.h"
#include "DibuixCarta.h"
#include "DispositiuGuionat.h"
#include "EinesFinestra.h"
#include "UnitDialegParaules.h"
#include "UnitEmail.h"
#include "UnitFormExperimentacio.h"
#include "UnitTessora.h"
#include "VocalSintetica.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

namespace tessora {

namespace {

// Draws the scripted values in turn, the last one again when they run out.
struct FontGuionada : FontAleatoria {
    void Sembrar() override {}
    std::int32_t Enter(std::int32_t) override { return Valors[std::min(Tirades++, Valors.size() - 1)]; }
    std::vector<std::int32_t> Valors;
    std::size_t Tirades = 0;
};

// A loud block of a synthetic "A".
std::vector<std::uint8_t> BlocA() {
    return proves::BytesVocalSintetica(88, 800, 1200, 80);
}

} // namespace

class ProvaFormExperimentacio : public QObject {
    Q_OBJECT

    proves::CarpetaTemporal carpeta;
    proves::DispositiuGuionat dispositiu;
    proves::DialegsDeProva dialegs;
    FontGuionada font;
    std::unique_ptr<AplicacioTessora> app;

    TFormExperimentacio& E() { return *app->FormExperimentacio; }
    QAction* Menu(const char* nom) { return proves::Fill<QAction>(&E(), nom); }
    TFormDiguesParaula& P() { return *proves::Fill<TFormDiguesParaula>(&E(), "FormDiguesParaula"); }
    QString Lletra() { return proves::Fill<QLabel>(&P(), "LabelParaula")->text(); }
    bool Escolta() {
        return proves::Fill<QToolButton>(app->FormPrincipal.get(), "SpeedButtonEngegarParar")->isChecked();
    }
    void Emissio() {
        for (const auto& bloc : {BlocA(), BlocA(), BlocA(), std::vector<std::uint8_t>(512, 127)}) {
            dispositiu.Lliurar(bloc);
            QCoreApplication::processEvents();
        }
    }
    std::filesystem::path Diari() { return carpeta.Cami() / "diari.sqlite"; }
    QString Cami(const char* nom) { return QString::fromStdString((carpeta.Cami() / nom).string()); }
    void Arrencar(std::vector<std::int32_t> vocals, const std::filesystem::path& dades = {}) {
        font.Valors = std::move(vocals);
        app =
            std::make_unique<AplicacioTessora>(dispositiu, dialegs, carpeta.Cami() / "Tessora.ini", "", dades,
                                               &font, nullptr, carpeta.Cami() / "models.tsv", Diari());
        QVERIFY(app->Arrencar(0)); // Spanish: A E I O U
    }

private slots:
    void init() { dispositiu = {}, dialegs = {}, font = {}; }
    void cleanup() { app.reset(); }

    void UnExperimentSencer() {
        Arrencar({0, 1, 0}); // A, E, A...
        const std::filesystem::path wav = carpeta.Cami() / "prova.wav";
        dialegs.NomsDesar = {Cami("prova")};
        QString memoCorreu;
        proves::QuanSObriUnModal([&](QWidget* finestra) {
            QCOMPARE(finestra, &E());
            QVERIFY(!Escolta()); // opening stopped listening
            // The window as designed where that fits the screen, else fitted within it.
            const QRect pantalla = E().screen()->availableGeometry(), marc = E().frameGeometry();
            const QRect dissenyat(QPoint(212, 385), QSize(696, 480) + marc.size() - E().size());
            QVERIFY(pantalla.contains(marc) && (marc == dissenyat || !pantalla.contains(dissenyat)));
            Menu("MenuExperimentacioExperimentar")->trigger();
            QVERIFY(P().isVisible() && Escolta() && Menu("MenuExperimentacioParar")->isEnabled());
            QCOMPARE(Lletra(), QStringLiteral("A"));
            Emissio(); // a hit: the prompt goes for the pause, then the next one comes
            QVERIFY(!P().isVisible());
            QTRY_VERIFY(P().isVisible());
            QCOMPARE(Lletra(), QStringLiteral("E"));
            Emissio(); // an error, listed in the grid
            const QAbstractItemModel* grid = proves::Fill<QTableView>(&E(), "GridErrors")->model();
            QCOMPARE(grid->index(11, 0).data().toString(), QStringLiteral("E-A"));
            QTRY_VERIFY(P().isVisible());
            // Through the platform, as a person clicks: the prompt is not blocked by the modal window.
            QTest::mouseClick(P().windowHandle(), Qt::LeftButton, {},
                              proves::Fill<QLabel>(&P(), "LabelParaula")->geometry().center());
            QVERIFY(!P().isVisible() && !Escolta() && !Menu("MenuExperimentacioParar")->isEnabled());
            proves::QuanSObriUnModal([&](QWidget* correu) {
                auto* email = qobject_cast<TFormEmail*>(correu);
                QVERIFY(email != nullptr);
                auto* memo = proves::Fill<QPlainTextEdit>(email, "Memo");
                memoCorreu = memo->toPlainText();
                dialegs.EnllacObert = false; // no mail program: the person is told
                proves::Fill<QPushButton>(email, "BitBtn2")->click();
                memo->setFocus(); // Enter in the read-only memo presses "Cerrar"
                QTest::keyClick(memo, Qt::Key_Return);
                QVERIFY(!email->isVisible() && memo->toPlainText() == memoCorreu);
            });
            E().close();
        });
        app->FormPrincipal->MenuExperimentarClick();
        QVERIFY(!E().isVisible());

        QCOMPARE(dialegs.Informacions,
                 QStringList{"Tessora|Nombre del fichero: " + QString::fromStdString(wav.string())});
        const QString wavQ = QString::fromStdString(wav.string());
        QCOMPARE(memoCorreu.split('\n').mid(2, 2), (QStringList{wavQ, wavQ + ".txt"}));
        QCOMPARE(dialegs.Enllacos, QStringList{QStringLiteral("mailto:tessora@example.org")});
        QCOMPARE(dialegs.Errors, QStringList{"Tessora|" + T(Idioma::Castella, IdText::CorreuNoArrenca)});
        // The text file holds what the memo and the clipboard hold; the WAV, silence then the error.
        const QString text = QGuiApplication::clipboard()->text();
        QCOMPARE(proves::Fill<QPlainTextEdit>(&E(), "MemoDades")->toPlainText(),
                 QString(text).replace('\r', '\n'));
        const auto bytesText = proves::LlegirBytes(carpeta.Cami() / "prova.wav.txt");
        QCOMPARE(std::string(bytesText.begin(), bytesText.end()), ACp1252(text.toStdString()));
        QVERIFY(text.endsWith(QStringLiteral("\t2048\t\r")));
        const auto so = proves::LlegirBytes(wav);
        const auto a = BlocA();
        QCOMPARE(so.size(), std::size_t{120 + 3072});
        QVERIFY(std::all_of(so.begin() + 120, so.begin() + 120 + 1536, [](auto b) { return b == 127; }));
        QVERIFY(std::equal(a.begin(), a.end(), so.begin() + 120 + 1536));
        QCOMPARE(QImage(wavQ + ".png").size(), kMidaImatgeCarta); // beside them the chart of the trials
    }

    // Escape does nothing; a cancelled name asks about discarding a run with trials; a failed export asks
    // for another name.
    void TancarLaFinestra_data() {
        QTest::addColumn<bool>("prova");       // a trial was made
        QTest::addColumn<QStringList>("noms"); // answered in the save dialog in turn; then cancelled
        QTest::addColumn<bool>("descartar");   // the answer to the question
        QTest::addColumn<bool>("oberta");      // the window stays open
        QTest::addRow("sense proves") << false << QStringList() << false << false;
        QTest::addRow("conservades") << true << QStringList() << false << true;
        QTest::addRow("descartades") << true << QStringList() << true << false;
        QTest::addRow("un nom que falla") << true << QStringList{Cami("x"), Cami("y")} << false << false;
    }
    void TancarLaFinestra() {
        QFETCH(bool, prova);
        QFETCH(QStringList, noms);
        QFETCH(bool, descartar);
        QFETCH(bool, oberta);
        Arrencar({0});
        std::filesystem::create_directory(carpeta.Cami() / "x.wav");
        dialegs.NomsDesar = noms;
        dialegs.RespostaSi = descartar;
        proves::QuanSObriUnModal([&](QWidget*) {
            Menu("MenuExperimentacioExperimentar")->trigger();
            if (prova) Emissio();
            QTest::keyClick(&E(), Qt::Key_Escape);
            QVERIFY(E().isVisible() && Menu("MenuExperimentacioParar")->isEnabled());
            if (!noms.isEmpty()) proves::QuanSObriUnModal([](QWidget* correu) { correu->close(); });
            E().close();
            QCOMPARE(E().isVisible(), oberta);
            QVERIFY(!P().isVisible() && !Escolta());
            dialegs.RespostaSi = true;
            E().close();
        });
        app->FormPrincipal->MenuExperimentarClick();
        QCOMPARE(dialegs.Preguntes.size(), prova && noms.isEmpty() ? 1 + oberta : 0);
        const QString motiu = Cami("x.wav") + "\n" + QString::fromLocal8Bit(strerror(EISDIR));
        QCOMPARE(dialegs.Errors.size() == 1 && dialegs.Errors[0].contains(motiu), !noms.isEmpty());
        QCOMPARE(std::filesystem::exists(carpeta.Cami() / "y.wav.txt"), !noms.isEmpty());
    }

    // The replace question names every file of the export that exists; answered no, the name is asked
    // again, and the program ends then: the run is kept in the data folder, the files asked about are
    // left as they were, and the next start says where the run went, once.
    void TancarElProgramaAmbElNomObertElDesa() {
        proves::CarpetaTemporal dades;
        std::filesystem::remove(carpeta.Cami() / "Tessora.ini");
        proves::EscriureBytes(carpeta.Cami() / "p.wav.txt", {1});
        proves::EscriureBytes(carpeta.Cami() / "p.wav.png", {1});
        Arrencar({0}, dades.Cami());
        dialegs.Reals = true;
        QString pregunta;
        proves::QuanSObriUnModal([&](QWidget*) {
            Menu("MenuExperimentacioExperimentar")->trigger();
            Emissio();
            proves::QuanSObriUnModal([&](QWidget* dialeg) {
                proves::QuanSObriUnModal([&](QWidget* caixa) {
                    pregunta = qobject_cast<QMessageBox*>(caixa)->text();
                    proves::QuanSObriUnModal([&](QWidget*) { app->FormPrincipal->close(); });
                    qobject_cast<QMessageBox*>(caixa)->button(QMessageBox::No)->click();
                });
                dialeg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(Cami("p"));
                qobject_cast<QDialog*>(dialeg)->accept();
            });
            E().close();
        });
        app->FormPrincipal->MenuExperimentarClick();
        QTRY_VERIFY(std::filesystem::exists(carpeta.Cami() / "Tessora.ini"));
        QVERIFY2(pregunta.contains("p.wav.txt\np.wav.png") && !pregunta.contains("p.wav\n"),
                 qPrintable(pregunta));
        QCOMPARE(proves::LlegirBytes(carpeta.Cami() / "p.wav.txt").size(), std::size_t{1});
        const std::vector<std::string> desats = dades.Contingut();
        QCOMPARE(desats.size(), std::size_t{4}); // the WAV, its text, its picture, the notice
        QVERIFY(desats[0].starts_with("experiment-") && desats[2].ends_with(".wav.txt"));
        QCOMPARE(proves::LlegirBytes(dades.Cami() / desats[0]).size(), std::size_t{120 + 1536});
        app.reset();
        dialegs = {};
        Arrencar({0}, dades.Cami());
        QTRY_COMPARE(dialegs.Informacions.size(), 1);
        QVERIFY(
            dialegs.Informacions[0].contains(QString::fromStdString((dades.Cami() / desats[0]).string())));
        QCOMPARE(dades.Contingut().size(), std::size_t{3});
    }

    // The speaker field lists the journal's speakers; the name entered (blanks trimmed) owns the runs that
    // stop from then on, stored at once (the list then holds it) though the window closes unexported.
    void ElCampDelParlant() {
        CursaDiari anna;
        anna.Parlant = "Anna", anna.Proves.resize(1);
        QVERIFY(tessora::Diari(Diari()).Desar(anna).Correcte());
        Arrencar({0});
        dialegs.RespostaSi = true; // the results are given up
        proves::QuanSObriUnModal([&](QWidget*) {
            auto* combo = proves::Fill<QComboBox>(&E(), "ComboParlant");
            QVERIFY(combo->count() == 1 && combo->itemText(0) == "Anna");
            QCOMPARE(combo->accessibleName(), T(Idioma::Castella, IdText::NomParlant));
            QTest::keyClick(combo, Qt::Key_Down); // from the anonymous speaker to the first listed
            QCOMPARE(app->SessioActual->Parlant(), "Anna");
            combo->lineEdit()->setText(QStringLiteral(" Joan "));
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            Menu("MenuExperimentacioExperimentar")->trigger();
            Emissio();
            Menu("MenuExperimentacioParar")->trigger();
            QCOMPARE(combo->itemText(1), QStringLiteral("Joan"));
            E().close();
        });
        app->FormPrincipal->MenuExperimentarClick();
    }

    void TancarElProgramaDuranLExportacioLAcaba() {
        Arrencar({0});
        dialegs.Reals = true;
        // The real save dialog, then the program is closed (as SIGTERM closes it) during the name message.
        proves::QuanSObriUnModal([&](QWidget*) {
            proves::QuanSObriUnModal([&](QWidget* dialeg) {
                proves::QuanSObriUnModal([&](QWidget*) { app->FormPrincipal->close(); });
                dialeg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                    ->setText(QString::fromStdString((carpeta.Cami() / "t").string()));
                qobject_cast<QDialog*>(dialeg)->accept();
            });
            E().close();
        });
        app->FormPrincipal->MenuExperimentarClick();
        QTRY_VERIFY(std::filesystem::exists(carpeta.Cami() / "Tessora.ini")); // closed, no mail request
        QVERIFY(std::filesystem::exists(carpeta.Cami() / "t.wav") &&
                !proves::Fill<QWidget>(&E(), "FormEmail")->isVisible());
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormExperimentacio)
#include "test_form_experimentacio.moc"

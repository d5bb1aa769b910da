// The main window and the start-up, driven for real on the offscreen platform: defaults with and without
// a settings file, the experimenter word, the settings bytes written at close, both languages, the
// About item's place, the live loop's effects on screen, Save, the volume control.
#include "Arrencada.h"
#include "CarpetaTemporal.h"
#include "FontFitxer.h"
#include "LiniaOrdres.h"
#include "NomFitxer.h"
#include "UnitFormExperimentacio.h"
#include "UnitFormFFT.h"
#include "UnitTessora.h"
#include "Unitabout.h"
#include "VocalSintetica.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <deque>

namespace tessora {

// A device that delivers the blocks the test gives it, when the test says.
class DispositiuGuionat final : public DispositiuEntrada {
public:
    std::int32_t Obrir(std::int32_t, Receptor receptor) override {
        ++Obertures;
        receptor_ = std::move(receptor);
        Obert = true;
        return CodiObrir;
    }
    void Tancar() override { Obert = false; }
    void Lliurar(const std::vector<std::uint8_t>& bytes) {
        if (Obert) receptor_(bytes);
    }
    int Obertures = 0;
    bool Obert = false;
    std::int32_t CodiObrir = 0;

private:
    Receptor receptor_;
};

// Answers in the person's place and remembers what was asked.
class DialegsDeProva final : public Dialegs {
public:
    std::optional<QString> DemanarNomDesar(QWidget*, const QString& filtre) override {
        Filtre = filtre;
        return NomDesar;
    }
    void Informar(QWidget*, const QString& titol, const QString& text) override {
        Informacions << titol + QStringLiteral("|") + text;
    }
    void Error(QWidget*, const QString& titol, const QString& text) override {
        Errors << titol + QStringLiteral("|") + text;
    }
    bool IniciarPrograma(const QString& programa, const QStringList& arguments) override {
        Iniciats << programa + QStringLiteral(" ") + arguments.join(QLatin1Char(' '));
        return ProgramaInstallat;
    }
    int ExecutarPrograma(const QString& programa, const QStringList& arguments) override {
        Executats << programa + QStringLiteral(" ") + arguments.join(QLatin1Char(' '));
        return ResultatExecutar;
    }
    std::optional<QString> NomDesar;
    QString Filtre;
    QStringList Informacions, Errors, Iniciats, Executats;
    bool ProgramaInstallat = true;
    int ResultatExecutar = -1;
};

// A synthetic "A" as unsigned bytes whose level (largest byte - 127) is exactly `amplitud`.
std::vector<std::uint8_t> BlocVocal(int amplitud) {
    const auto v = proves::VocalSintetica(88, 800, 1200, amplitud);
    std::vector<std::uint8_t> bloc(512);
    for (std::size_t i = 0; i < bloc.size(); ++i)
        bloc[i] = static_cast<std::uint8_t>(std::clamp(128 + v[i], 0, 255));
    *std::max_element(bloc.begin(), bloc.end()) = static_cast<std::uint8_t>(std::min(127 + amplitud, 255));
    return bloc;
}

std::vector<std::uint8_t> BlocNivell(int nivell) {
    std::vector<std::uint8_t> bloc(512, 127);
    bloc[100] = static_cast<std::uint8_t>(127 + nivell);
    return bloc;
}

std::vector<std::uint8_t> Bytes(const std::filesystem::path& cami) {
    return proves::LlegirBytes(cami);
}

class ProvaFormPrincipal : public QObject {
    Q_OBJECT

    std::unique_ptr<proves::CarpetaTemporal> carpeta;
    std::filesystem::path ini;
    DispositiuGuionat dispositiu;
    DialegsDeProva dialegs;
    std::unique_ptr<AplicacioTessora> app;

    void Arrencar(const std::string& liniaOrdres = "") {
        app = std::make_unique<AplicacioTessora>(dispositiu, dialegs, ini, liniaOrdres);
        QVERIFY(app->Arrencar(0));
    }
    TFormPrincipal& F() { return *app->FormPrincipal; }
    void Bloc(const std::vector<std::uint8_t>& bloc) {
        dispositiu.Lliurar(bloc);
        QCoreApplication::processEvents();
    }
    QRgb Pixel(int x, int y) { return F().Client->grab().toImage().pixel(x, y); }

private slots:
    void init() {
        carpeta = std::make_unique<proves::CarpetaTemporal>();
        ini = carpeta->Cami() / "Tessora.ini";
        dispositiu = DispositiuGuionat();
        dialegs = DialegsDeProva();
    }
    void cleanup() { app.reset(); }

    void SenseArxiuDeConfiguracioArrencaEnCastellaIEscoltant() {
        Arrencar();
        QVERIFY(F().MenuCastellano->isChecked());
        QVERIFY(!F().MenuCatala->isChecked());
        QCOMPARE(F().LabelVocals->text(), QStringLiteral("A - E - I - O - U"));
        QCOMPARE(F().CheckBoxVeuAguda->text(), QStringLiteral("Voz aguda"));
        QVERIFY(!F().CheckBoxVeuAguda->isChecked());
        QCOMPARE(F().MenuParlant->text(), QStringLiteral("&Acerca &de..."));
        QCOMPARE(F().PosicioParlant(), 2);
        QVERIFY(!F().MenuGrafics->isVisible());
        QCOMPARE(F().SpeedButtonEngegarParar->text(), QStringLiteral("P"));
        QCOMPARE(F().SpeedButtonEngegarParar->toolTip(), QStringLiteral("Parar"));
        QVERIFY(F().SpeedButtonEngegarParar->isChecked());
        QCOMPARE(dispositiu.Obertures, 1);
        QVERIFY(F().isVisible());
        // The splash has gone and the About box is whole again, its timer still.
        QVERIFY(!app->AboutBox->isVisible());
        QVERIFY(!app->AboutBox->OKButton->isHidden());
        QVERIFY(!app->AboutBox->Timer1->isActive());
        QCOMPARE(app->AboutBox->height(), 385);
        QVERIFY(!app->FormFFT->isVisible());
        QCOMPARE(F().windowTitle(), QStringLiteral("Tessora - https://example.org/tessora"));
    }

    void LArxiuDeConfiguracioEsRespecta_data() {
        QTest::addColumn<QByteArray>("contingut");
        QTest::addColumn<bool>("castella");
        QTest::addColumn<bool>("veuAguda");
        QTest::addRow("catala i veu aguda")
            << QByteArray("[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n") << false << true;
        QTest::addRow("castella explicit")
            << QByteArray("[Tessora]\r\nCastell\xE0=S\xCD\r\n") << true << false;
        QTest::addRow("minuscules no valen")
            << QByteArray("[Tessora]\r\nVeu aguda=s\xED\r\nCastell\xE0=si\r\n") << false << false;
        QTest::addRow("brossa") << QByteArray("\x01\x02\xff\xfe garbage") << true << false;
    }
    void LArxiuDeConfiguracioEsRespecta() {
        QFETCH(QByteArray, contingut);
        QFETCH(bool, castella);
        QFETCH(bool, veuAguda);
        proves::EscriureBytes(ini, std::vector<std::uint8_t>(contingut.begin(), contingut.end()));
        Arrencar();
        QCOMPARE(F().MenuCastellano->isChecked(), castella);
        QCOMPARE(F().CheckBoxVeuAguda->isChecked(), veuAguda);
    }

    void LaParaulaDelModeExperimentador_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("mode");
        QTest::addRow("sola") << QStringList{"tessora", "qevrun"} << true;
        QTest::addRow("en dos trossos") << QStringList{"tessora", "qev", "run"} << true;
        QTest::addRow("amb entrada") << QStringList{"tessora", "qevrun", "--entrada", "f.wav"} << true;
        QTest::addRow("majuscules") << QStringList{"tessora", "QEVRUN"} << false;
        QTest::addRow("seguida d'un altre") << QStringList{"tessora", "qevrun", "x"} << false;
        QTest::addRow("res") << QStringList{"tessora"} << false;
    }
    void LaParaulaDelModeExperimentador() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, mode);
        std::vector<std::string> cadenes;
        for (const QString& a : arguments)
            cadenes.push_back(a.toStdString());
        std::vector<const char*> argv;
        for (const auto& c : cadenes)
            argv.push_back(c.c_str());
        const SeparacioArguments separats = SepararArguments(static_cast<int>(argv.size()), argv.data());
        Arrencar(UnirLiniaOrdres(separats.Restants));
        QCOMPARE(F().MenuGrafics->isVisible(), mode);
        QCOMPARE(F().PosicioParlant(), mode ? 3 : 2);
        // The About item keeps its place and takes its text through both languages.
        F().MenuCatalaClick();
        QCOMPARE(F().MenuParlant->text(), QStringLiteral("&Parlant de..."));
        QCOMPARE(F().PosicioParlant(), mode ? 3 : 2);
        F().MenuCastellanoClick();
        QCOMPARE(F().MenuParlant->text(),
                 mode ? QStringLiteral("Acerca &de...") : QStringLiteral("&Acerca &de..."));
        QCOMPARE(F().MenuGrafics->isVisible(), mode);
    }

    void ElsTextsDeLesDuesLlengues() {
        Arrencar();
        F().MenuCatalaClick();
        QVERIFY(F().MenuCatala->isChecked() && !F().MenuCastellano->isChecked());
        QCOMPARE(F().MenuFitxer->title(), QStringLiteral("&Fitxer"));
        QCOMPARE(F().MenuLlengua->title(), QStringLiteral("&Llengua"));
        QCOMPARE(F().MenuSortir->text(), QStringLiteral("&Sortir"));
        QCOMPARE(F().MenuEngegarParar->text(), QStringLiteral("&Engegar/Parar"));
        QCOMPARE(F().MenuControlDeVolumen->text(), QStringLiteral("Control de volumen del micròfon..."));
        QCOMPARE(F().LabelVocals->text(), QStringLiteral("A - AE - È - É - I - O - U"));
        QCOMPARE(F().CheckBoxVeuAguda->text(), QStringLiteral("Veu aguda"));
        QCOMPARE(app->FormDiguesParaula->windowTitle(), QStringLiteral("Digues la vocal:"));
        QCOMPARE(app->FormExperimentacio->MenuExperimentacioCopiarALaCarpetaElsResultats->text(),
                 QStringLiteral("Copiar a la carpeta els &resultats"));
        F().MenuCastellanoClick();
        QCOMPARE(F().MenuFitxer->title(), QStringLiteral("&Archivo"));
        QCOMPARE(F().MenuLlengua->title(), QStringLiteral("&Lenguaje"));
        QCOMPARE(F().MenuSortir->text(), QStringLiteral("&Salir"));
        QCOMPARE(F().MenuEngegarParar->text(), QStringLiteral("&Empezar/Parar"));
        QCOMPARE(F().MenuGrafics->text(), QStringLiteral("&Gráficos"));
        QCOMPARE(F().MenuControlDeVolumen->text(), QStringLiteral("Control de volumen del micrófono..."));
        QCOMPARE(app->FormDiguesParaula->windowTitle(), QStringLiteral("Di la vocal:"));
        QCOMPARE(
            app->FormExperimentacio->windowTitle(),
            QStringLiteral(
                "Tessora - Módulo de experimentación - Projecte Nivara 2003 - https://example.org/tessora"));
        QCOMPARE(app->FormExperimentacio->MenuExperimentacioCopiarALaCarpetaElsResultats->text(),
                 QStringLiteral("Copiar al portapalpeles los &resultados"));
        QCOMPARE(app->FormExperimentacio->MenuExperimentacioParar->text(), QStringLiteral("&Parar"));
    }

    void EnTancarEsDesaLaConfiguracio() {
        Arrencar();
        F().CheckBoxVeuAguda->setChecked(true);
        F().close();
        QVERIFY(!dispositiu.Obert);
        const auto bytes = Bytes(ini);
        const std::string text(bytes.begin(), bytes.end());
        QCOMPARE(QByteArray::fromStdString(text),
                 QByteArray("[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=S\xCD\r\n"));
    }

    void ElMesuradorDeNivell_data() {
        QTest::addColumn<int>("nivell");
        QTest::addColumn<QColor>("color");
        QTest::addRow("15 silenci") << 15 << QColor(255, 255, 0);
        QTest::addRow("16 veu") << 16 << QColor(0, 0, 255);
        QTest::addRow("127 saturacio") << 127 << QColor(255, 0, 0);
    }
    void ElMesuradorDeNivell() {
        QFETCH(int, nivell);
        QFETCH(QColor, color);
        Arrencar();
        Bloc(BlocNivell(nivell));
        QCOMPARE(F().Client->Nivell, nivell);
        // A bar of n pixels from y = 212 upwards, in the level's colour; above it the erased column.
        QCOMPARE(QColor(Pixel(5, 212)), color);
        QCOMPARE(QColor(Pixel(14, 212 - nivell + 1)), color);
        QVERIFY(QColor(Pixel(14, 212 - nivell)) != color);
        QCOMPARE(QColor(Pixel(4, 150)), QColor(Qt::black)); // the frame
    }

    void LaLletraISonColor() {
        Arrencar();
        F().MenuCatalaClick();
        Bloc(BlocVocal(80));
        Bloc(BlocVocal(80)); // the second loud block is the one analysed
        QCOMPARE(F().LabelVocalReconeguda->text(), QStringLiteral("A"));
        QCOMPARE(F().LabelVocalReconeguda->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QVERIFY(!app->FormFFT->LabelDades1->text().isEmpty());
        QVERIFY(app->FormFFT->LabelDades1->text().endsWith(QStringLiteral(" - A")));
        Bloc(BlocNivell(0));
        Bloc(BlocVocal(128)); // clipping, first block of the utterance: only the bar is red
        QCOMPARE(F().windowTitle(), QStringLiteral("Tessora - https://example.org/tessora"));
        Bloc(BlocVocal(128));
        QCOMPARE(F().windowTitle(), QStringLiteral("Sisplau BAIXEU el volum del micròfon"));
        QCOMPARE(F().LabelVocalReconeguda->palette().color(QPalette::WindowText), QColor(Qt::red));
        Bloc(BlocNivell(0));
        F().MenuCastellanoClick();
        Bloc(BlocVocal(128));
        Bloc(BlocVocal(128));
        QCOMPARE(F().windowTitle(), QStringLiteral("Por favor BAJAR el volumen del micrófono"));
    }

    void ReconeixementContinuEsborraLaLletraAlSilenci() {
        Arrencar();
        app->FormFFT->MenuReconeixementContinu->setChecked(true);
        F().Bucle().MostrarLletra("O");
        F().LabelVocalReconeguda->setText(QStringLiteral("O"));
        Bloc(BlocVocal(80));
        QCOMPARE(F().LabelVocalReconeguda->text(), QStringLiteral("O")); // the loop shows no result itself
        Bloc(BlocNivell(3));
        QCOMPARE(F().LabelVocalReconeguda->text(), QString());
    }

    void LAturadaAutomatica() {
        Arrencar();
        app->FormFFT->EditLletra->setText(QStringLiteral("U"));
        Bloc(BlocVocal(80));
        Bloc(BlocVocal(80));
        QCOMPARE(F().LabelVocalReconeguda->text(), QStringLiteral("A"));
        QCOMPARE(F().SpeedButtonEngegarParar->text(), QStringLiteral("E"));
        QVERIFY(!F().SpeedButtonEngegarParar->isChecked());
        QVERIFY(!F().Bucle().Engegat());
    }

    void NomDelFitxer_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("esperat");
        QTest::addRow("sense punt") << "/tmp/veu"
                                    << "/tmp/veu.wav";
        QTest::addRow("wav") << "/tmp/veu.wav"
                             << "/tmp/veu.wav";
        QTest::addRow("altra extensio") << "/tmp/veu.au"
                                        << "/tmp/veu.au";
        QTest::addRow("punt curt") << "/tmp/a.b"
                                   << "/tmp/a.b";
        QTest::addRow("extensio llarga") << "/tmp/veu.wave"
                                         << "/tmp/veu.wave.wav";
        QTest::addRow("carpeta amb punt") << "/tmp/d.x/veu"
                                          << "/tmp/d.x/veu.wav";
        QTest::addRow("curt") << "ab"
                              << "ab.wav";
    }
    void NomDelFitxer() {
        QFETCH(QString, nom);
        QFETCH(QString, esperat);
        QCOMPARE(NomAmbExtensioWav(nom), esperat);
    }

    void DesarAturaIEscriuLaDarreraEmissio() {
        Arrencar();
        Bloc(BlocVocal(80));
        Bloc(BlocVocal(80));
        Bloc(BlocVocal(80));
        const auto base = QString::fromStdString((carpeta->Cami() / "meu").string());
        dialegs.NomDesar = base;
        F().MenuGuardarClick();
        QCOMPARE(F().SpeedButtonEngegarParar->text(), QStringLiteral("E")); // listening stopped first
        QCOMPARE(dialegs.Filtre, QStringLiteral("Archivos de sonido (*.wav)"));
        QCOMPARE(dialegs.Informacions,
                 QStringList{QStringLiteral("Tessora|Nombre del fichero: ") + base + ".wav"});
        const auto bytes = Bytes(carpeta->Cami() / "meu.wav");
        QCOMPARE(bytes.size(), std::size_t{1656});
        const auto slot = F().Buffer()->Ranura(0);
        QVERIFY(std::equal(slot.begin(), slot.end(), bytes.begin() + 120));
        const auto bloc = BlocVocal(80);
        QVERIFY(std::equal(bloc.begin(), bloc.end(), bytes.begin() + 120)); // first loud block first

        dialegs.NomDesar = std::nullopt; // cancelled: nothing more, listening stays off
        F().MenuGuardarClick();
        QCOMPARE(dialegs.Informacions.size(), 1);
        QCOMPARE(F().SpeedButtonEngegarParar->text(), QStringLiteral("E"));

        dialegs.NomDesar = QStringLiteral("/no/such/folder/x.wav");
        F().MenuGuardarClick();
        QCOMPARE(dialegs.Errors, QStringList{QStringLiteral("ERROR|Imposible crear el archivo indicado")});
    }

    void DesarJustDespresDEngegarEscriuSilenci() {
        Arrencar();
        F().SpeedButtonEngegarPararClick();
        Bloc(BlocVocal(80));                // not listening: not kept
        F().SpeedButtonEngegarPararClick(); // start again: clears the slot
        dialegs.NomDesar = QString::fromStdString((carpeta->Cami() / "s.wav").string());
        F().MenuGuardarClick();
        const auto bytes = Bytes(carpeta->Cami() / "s.wav");
        QCOMPARE(bytes.size(), std::size_t{1656});
        QVERIFY(std::all_of(bytes.begin() + 120, bytes.end(), [](std::uint8_t b) { return b == 127; }));
    }

    void ElControlDeVolum() {
        Arrencar();
        F().MenuControlDeVolumenClick();
        QCOMPARE(dialegs.Executats, QStringList{QStringLiteral("wmctrl -a Volume Control")});
        QCOMPARE(dialegs.Iniciats, QStringList{QStringLiteral("pavucontrol --tab=4")});
        QVERIFY(dialegs.Informacions.isEmpty());
        dialegs.ResultatExecutar = 0; // an open mixer is raised, not started again
        F().MenuControlDeVolumenClick();
        QCOMPARE(dialegs.Iniciats.size(), 1);
        dialegs.ResultatExecutar = -1;
        dialegs.ProgramaInstallat = false;
        F().MenuControlDeVolumenClick();
        QCOMPARE(dialegs.Informacions.size(), 1);
        QVERIFY(dialegs.Informacions[0].contains(QStringLiteral("pavucontrol")));
    }

    void UnDispositiuQueNoSObreHoDiu() {
        dispositiu.CodiObrir = 3;
        Arrencar();
        QCOMPARE(dialegs.Errors,
                 QStringList{QStringLiteral(
                     "Valor màxim detectat en el micròfon|NO puc obrir els dispositiu d'entrada")});
        QCOMPARE(F().SpeedButtonEngegarParar->text(), QStringLiteral("P")); // as the loop shows it
    }

    void TancarMentreEscoltaAturaLaCaptura() {
        // A recording fed as fast as it is taken, so blocks keep coming while the window closes.
        std::vector<std::uint8_t> so(512 * 400, 128);
        FontFitxer font(so, FontFitxer::Ritme::TanRapidComEsPugui);
        app = std::make_unique<AplicacioTessora>(font, dialegs, ini, "");
        QVERIFY(app->Arrencar(0));
        QTRY_VERIFY(F().Captura().BlocsProcessats() > 5);
        F().close();
        QVERIFY(!F().Captura().DispositiuObert());
        QVERIFY(std::filesystem::exists(ini));
    }
};

} // namespace tessora

QTEST_MAIN(tessora::ProvaFormPrincipal)
#include "test_form_principal.moc"

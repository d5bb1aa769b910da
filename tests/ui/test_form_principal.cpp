// The main window and the start-up, driven for real on the offscreen platform: settings, mode, language,
// the loop's effects on screen, Save, the volume control, a close while a dialog is open, fit, keyboard,
// and what a screen reader finds in every window.
#include "AplicacioQtDeProva.h"
#include "Arrencada.h"
#include "ArxiuIni.h"
#include "CarpetaTemporal.h"
#include "DialegsDeProva.h"
#include "DispositiuGuionat.h"
#include "EinesFinestra.h"
#include "FontFitxer.h"
#include "MostresEnMemoria.h"
#include "UnitDialegParaules.h"
#include "UnitFormCarta.h"
#include "UnitFormExperimentacio.h"
#include "UnitTessora.h"
#include "Unitabout.h"
#include "VocalSintetica.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace tessora {

using proves::DispositiuGuionat;
using proves::Fill;

// A synthetic "A" as unsigned bytes whose level (largest byte - 127) is exactly `amplitud`.
std::vector<std::uint8_t> BlocVocal(int amplitud) {
    auto bloc = proves::BytesVocalSintetica(88, 800, 1200, amplitud);
    *std::max_element(bloc.begin(), bloc.end()) = static_cast<std::uint8_t>(std::min(127 + amplitud, 255));
    return bloc;
}

const std::vector<std::uint8_t> kSilenci(512, 127);

// The smallest rectangle that holds the blue ink of `imatge`; empty when there is none.
QRect TintaBlava(const QImage& imatge) {
    QRect tinta;
    for (int y = 0; y < imatge.height(); ++y)
        for (int x = 0; x < imatge.width(); ++x)
            if (const QRgb p = imatge.pixel(x, y); qAlpha(p) > 128 && qBlue(p) > 160 && qRed(p) < 96)
                tinta |= QRect(x, y, 1, 1);
    return tinta;
}

// Types `nom` in a file dialog and presses its button (selectFile() leaves a focused name box as it is).
void Triar(QWidget* dialeg, const QString& nom) {
    dialeg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(nom);
    qobject_cast<QDialog*>(dialeg)->accept();
}

// The controls under `i` a screen reader finds without a name. Passed unnamed: what holds others (a plain
// area holding none is a picture of ours), frames, pictures, a label without text, a hidden control.
void SenseNom(QAccessibleInterface* i, QStringList& trobats) {
    const auto* w = qobject_cast<const QWidget*>(i->object());
    if (w != nullptr && !w->isWindow() && w->isHidden() && !w->parentWidget()->inherits("QStackedWidget"))
        return;
    using enum QAccessible::Role;
    const QAccessible::Role rol = i->role();
    const bool conte = QList{Client, Pane, Grouping, LayeredPane}.contains(rol) && i->childCount() > 0;
    const bool buit = rol == StaticText && i->text(QAccessible::Value).isEmpty();
    if (!conte && !buit && !QList{Separator, ScrollBar, Border, Graphic}.contains(rol) &&
        i->text(QAccessible::Name).trimmed().isEmpty())
        QDebug(&trobats.emplace_back()) << rol << i->object();
    if (QList{Table, PageTabList, ComboBox, EditableText}.contains(rol)) return; // its parts are its own
    for (int c = 0; c < i->childCount(); ++c)
        SenseNom(i->child(c), trobats);
}

QList<std::pair<QObject*, QAccessible::Event>> vists; // the events, as the desktop's bridge receives them
void Vist(QAccessibleEvent* a) {
    vists.append({a->object(), a->type()});
}

class ProvaFormPrincipal : public QObject {
    Q_OBJECT

    std::unique_ptr<proves::CarpetaTemporal> carpeta;
    std::filesystem::path ini;
    DispositiuGuionat dispositiu;
    proves::DialegsDeProva dialegs;
    std::unique_ptr<FontFitxer> font; // a recording to listen to instead, when a test sets one
    std::unique_ptr<AplicacioTessora> app;

    void Arrencar(const std::string& liniaOrdres = "") {
        app = std::make_unique<AplicacioTessora>(dispositiu, dialegs, ini, liniaOrdres);
        QVERIFY(app->Arrencar(0));
    }
    TFormPrincipal& F() { return *app->FormPrincipal; }
    QAction* Accio(const char* nom) { return Fill<QAction>(&F(), nom); }
    QCheckBox* VeuAguda() { return Fill<QCheckBox>(&F(), "CheckBoxVeuAguda"); }
    QToolButton* Boto(const char* nom) { return Fill<QToolButton>(&F(), nom); }
    EtiquetaLletra* Lletra() { return Fill<EtiquetaLletra>(&F(), "LabelVocalReconeguda"); }
    void Bloc(const std::vector<std::uint8_t>& bloc) {
        dispositiu.Lliurar(bloc);
        QCoreApplication::processEvents();
    }
    void Idioma_(Idioma idioma) {
        idioma == Idioma::Catala ? F().MenuCatalaClick() : F().MenuCastellanoClick();
    }
    QString Cami(const char* nom) { return QString::fromStdString((carpeta->Cami() / nom).string()); }

private slots:
    void initTestCase() {
        InstallarSubstitutsDeFonts();
        QAccessible::installUpdateHandler(Vist);
        // Active as when a screen reader listens (the offscreen platform never turns it on).
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    void init() {
        vists.clear();
        carpeta = std::make_unique<proves::CarpetaTemporal>();
        ini = carpeta->Cami() / "Tessora.ini";
        dispositiu = DispositiuGuionat();
        dialegs = proves::DialegsDeProva();
    }
    void cleanup() { app.reset(); }

    // The windows show the settings the session read, once the splash has gone and listening is on.
    void LaConfiguracioEsVeuEnArrencar() {
        ArxiuIni arxiu(ini);
        EscriureConfiguracio(arxiu, true, false);
        Arrencar();
        QVERIFY(Accio("MenuCatala")->isChecked() && VeuAguda()->isChecked() && F().isVisible());
        QVERIFY(Boto("SpeedButtonEngegarParar")->isChecked() && !app->AboutBox->isVisible());
        QVERIFY(!app->AboutBox->OKButton->isHidden());
    }

    void LesTeclesIElLlocDeParlant_data() {
        QTest::addColumn<QString>("liniaOrdres");
        QTest::addRow("normal") << "";
        QTest::addRow("experimentador") << "qevrun";
    }
    void LesTeclesIElLlocDeParlant() {
        QFETCH(QString, liniaOrdres);
        const bool mode = !liniaOrdres.isEmpty();
        Arrencar(liniaOrdres.toStdString());
        for (const Idioma idioma : {Idioma::Catala, Idioma::Castella}) {
            Idioma_(idioma);
            QCOMPARE(Accio("MenuGrafics")->isVisible(), mode);
            QCOMPARE(F().PosicioParlant(), mode ? 3 : 2);
            // Every item of the bar, the About item at its end included, has an access key of its own.
            QStringList tecles{QKeySequence::mnemonic(Accio("MenuParlant")->text()).toString()};
            for (QAction* a : F().menuBar()->actions())
                if (a->isVisible()) tecles << QKeySequence::mnemonic(a->text()).toString();
            QVERIFY(!tecles.contains(QString()));
            QCOMPARE(QSet<QString>(tecles.begin(), tecles.end()).size(), tecles.size());
        }
    }

    void CanviarLlenguaPosaLaColumnaDeCadaText_data() {
        QTest::addColumn<Idioma>("idioma");
        QTest::addRow("catala") << Idioma::Catala;
        QTest::addRow("castella") << Idioma::Castella;
    }
    void CanviarLlenguaPosaLaColumnaDeCadaText() {
        QFETCH(Idioma, idioma);
        Arrencar();
        Idioma_(idioma == Idioma::Catala ? Idioma::Castella : Idioma::Catala);
        Idioma_(idioma);
        const auto* e = app->FormExperimentacio.get();
        const auto* indicacio = Fill<QWidget>(e, "FormDiguesParaula");
        const std::pair<QString, IdText> vistos[] = {
            {Fill<QMenu>(&F(), "MenuFitxer")->title(), IdText::MenuFitxer},
            {Fill<QMenu>(&F(), "MenuLlengua")->title(), IdText::MenuLlengua},
            {QAccessible::queryAccessibleInterface(Lletra())->text(QAccessible::Name), IdText::AccLletra},
            {Accio("MenuEngegarParar")->text(), IdText::MenuEngegarParar},
            {VeuAguda()->text(), IdText::CheckBoxVeuAguda},
            {Fill<QLabel>(&F(), "LabelVocals")->text(), IdText::LabelVocals},
            {indicacio->windowTitle(), IdText::TitolDiguesParaula},
            {e->windowTitle(), IdText::TitolExperimentacio},
            {Fill<QAction>(e, "MenuExperimentacioCopiarALaCarpetaElsResultats")->text(),
             IdText::ExperimentacioMenuCopiar}};
        for (const auto& [vist, id] : vistos)
            QCOMPARE(vist, T(idioma, id));
        // Qt's own dialogs speak the same language.
        QCOMPARE(QFileDialog::tr("Save As"),
                 idioma == Idioma::Catala ? QStringLiteral("Desa com a") : QStringLiteral("Guardar como"));
    }

    void ElsTextsHiCaben_data() { CanviarLlenguaPosaLaColumnaDeCadaText_data(); }
    void ElsTextsHiCaben() {
        QFETCH(Idioma, idioma);
        Arrencar();
        Idioma_(idioma);
        // Each text of the panel fits its control in the fonts in use, and the controls stand side by side.
        const QCheckBox* veu = VeuAguda();
        const QLabel* vocals = Fill<QLabel>(&F(), "LabelVocals");
        QVERIFY(veu->sizeHint().width() <= veu->width());
        QVERIFY(QFontMetrics(vocals->font()).horizontalAdvance(vocals->text()) <=
                vocals->contentsRect().width());
        QVERIFY(veu->geometry().right() < vocals->x());
        QVERIFY(vocals->geometry().right() < Boto("SpeedButtonGuardar")->x());
        QVERIFY(Boto("SpeedButtonGuardar")->geometry().right() < Fill<QFrame>(&F(), "Panel1")->width());
        // The big letter lies whole below the panel: the ink of "È" touches no edge, its accent above "E".
        QVERIFY(Lletra()->y() >= Fill<QFrame>(&F(), "Panel1")->height());
        Lletra()->setText(QStringLiteral("E"));
        const QRect e = TintaBlava(Lletra()->grab().toImage());
        Lletra()->setText(QStringLiteral("È"));
        const QRect accent = TintaBlava(Lletra()->grab().toImage());
        QVERIFY(accent.top() > 0 && accent.top() < e.top() - 10);
        QVERIFY(accent.bottom() < Lletra()->height() - 1);
        // So does the experiment's prompt, in a window at least as large as designed.
        TFormDiguesParaula& indicacio =
            *Fill<TFormDiguesParaula>(app->FormExperimentacio.get(), "FormDiguesParaula");
        indicacio.Indicar(QStringLiteral("È"));
        const QRect dins(1, 1, indicacio.width() - 2, indicacio.height() - 2);
        QVERIFY(dins.contains(TintaBlava(indicacio.grab().toImage())) && indicacio.width() >= 213);
    }

    void LaCartaSObreAlCostatIPrenLaVeuDeSeguida() {
        Arrencar();
        TFormCarta* carta = app->FormCarta;
        F().MenuCartaClick(); // to the right, tops level, where that fits the screen
        const QRect principal = F().frameGeometry(), marc = carta->frameGeometry();
        const QRect pantalla = F().screen()->availableGeometry();
        QVERIFY(pantalla.contains(marc));
        QVERIFY(principal.right() + marc.width() > pantalla.right() ||
                marc.topLeft() == principal.topRight() + QPoint(1, 0));
        const QImage abans = carta->grab().toImage();
        VeuAguda()->click(); // the high voice's ranges, before any vowel comes
        QVERIFY(carta->grab().toImage() != abans);
    }

    void ElBotoDeDesarMostraElFocus() {
        Arrencar();
        F().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&F()));
        const QImage sense = Boto("SpeedButtonGuardar")->grab().toImage();
        Boto("SpeedButtonGuardar")->setFocus(Qt::TabFocusReason);
        QVERIFY(Boto("SpeedButtonGuardar")->hasFocus());
        QVERIFY(Boto("SpeedButtonGuardar")->grab().toImage() != sense);
    }

    void LaLletraISonColor() { // a clipped utterance: a red letter, a warning in the caption and spoken
        Arrencar();
        Bloc(BlocVocal(128));
        Bloc(BlocVocal(128)); // the second loud block is the one analysed
        const QString avis = T(Idioma::Castella, IdText::AvisSaturacio);
        QCOMPARE(F().windowTitle(), avis);
        QCOMPARE(Lletra()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(vists.contains({Lletra(), QAccessible::NameChanged}));
        QCOMPARE(QAccessible::queryAccessibleInterface(Lletra())->text(QAccessible::Name),
                 "Vocal reconocida: A. " + avis);
        QAccessibleInterface* nivell = QAccessible::queryAccessibleInterface(Fill<QWidget>(&F(), "Nivell"));
        QCOMPARE(nivell->valueInterface()->currentValue().toInt(), 128);
        QCOMPARE(nivell->text(QAccessible::Description), avis);
    }

    void DesarAturaIEscriuLaDarreraEmissio() {
        Arrencar();
        for (int i = 0; i < 3; ++i)
            Bloc(BlocVocal(80));
        dialegs.NomsDesar = {Cami("meu")};
        F().MenuGuardarClick();
        QCOMPARE(Boto("SpeedButtonEngegarParar")->text(), QStringLiteral("E")); // listening stopped first
        QCOMPARE(dialegs.Informacions,
                 QStringList{"Tessora|" + T(Idioma::Castella, IdText::NomDelFitxer) + Cami("meu.wav")});
        const auto bytes = proves::LlegirBytes(carpeta->Cami() / "meu.wav");
        const auto bloc = BlocVocal(80);
        QCOMPARE(bytes.size(), std::size_t{1656});
        QVERIFY(std::equal(bloc.begin(), bloc.end(), bytes.begin() + 120)); // first loud block first

        dialegs.NomsDesar = {QStringLiteral("/no/such/folder/x.wav")};
        F().MenuGuardarClick();
        QCOMPARE(dialegs.Errors, QStringList{"ERROR|" + QString::fromUtf8(MissatgeEscriureWav(1))});
    }

    void TancarAmbUnDialegObertAcabaLOrdre_data() {
        QTest::addColumn<int>("obert");                       // the dialog open when the close comes
        QTest::addColumn<int>("mida");                        // of the file afterwards
        QTest::addRow("el dialeg de desar") << 0 << 0;        // cancelled, nothing written
        QTest::addRow("la pregunta de reemplacar") << 1 << 3; // cancelled, the file kept
        QTest::addRow("el nom del fitxer") << 2 << 1656;      // the file written
    }
    void TancarAmbUnDialegObertAcabaLOrdre() {
        QFETCH(int, obert);
        QFETCH(int, mida);
        Arrencar();
        dialegs.Reals = true;
        if (obert == 1) proves::EscriureBytes(carpeta->Cami() / "senyal.wav", {1, 2, 3});
        // The window is closed as SIGTERM closes it, from inside the dialog's own loop.
        proves::QuanSObriUnModal([&](QWidget* dialeg) {
            if (obert == 0) return static_cast<void>(F().close());
            proves::QuanSObriUnModal([&](QWidget*) { F().close(); });
            Triar(dialeg, Cami("senyal.wav"));
        });
        F().MenuGuardarClick();
        QTRY_VERIFY(std::filesystem::exists(ini)); // the close took place once Save had finished
        QVERIFY(!dispositiu.Obert() && !F().isVisible());
        QCOMPARE(proves::LlegirBytes(carpeta->Cami() / "senyal.wav").size(), static_cast<std::size_t>(mida));
    }

    void ElControlDeVolum() {
        Arrencar();
        F().MenuControlDeVolumenClick();
        F().MenuControlDeVolumenClick(); // the mixer it started still runs: raised, not started again
        QCOMPARE(dialegs.Iniciats, QStringList{QStringLiteral("pavucontrol --tab=4")});
        QCOMPARE(dialegs.Activats, QList<qint64>{4321});
        dialegs.Viu = false; // closed, and none can be started
        dialegs.ProgramaInstallat = false;
        F().MenuControlDeVolumenClick();
        QCOMPARE(dialegs.Informacions,
                 QStringList{"Tessora|" + T(Idioma::Castella, IdText::SenseControlVolum)});
    }

    void UnDispositiuQueNoSObreHoDiu() {
        dispositiu.CodiObrir = 3;
        Arrencar();
        QCOMPARE(dialegs.Errors, QStringList{T(Idioma::Catala, IdText::TitolErrorEntrada) + "|" +
                                             T(Idioma::Catala, IdText::ErrorObrirEntrada)});
    }

    // Blocks the ring had no room for are counted below the letter, in the interface language, on a line
    // that is there only once some were lost and leaves the letter its room.
    void ElsBlocsPerdutsEsCompten() {
        Arrencar();
        const QSize client = Fill<QWidget>(&F(), "Client")->size();
        Bloc(kSilenci);
        QVERIFY(F().findChild<QStatusBar*>() == nullptr);
        Bloc(std::vector<std::uint8_t>(512 * 3, 127)); // three blocks before the window took one
        const QLabel* avis = F().statusBar()->findChild<QLabel*>();
        QTRY_VERIFY(avis->isVisible() && avis->sizeHint().width() <= avis->width()); // the longer, Spanish
        QCOMPARE(Fill<QWidget>(&F(), "Client")->size(), client);
        F().MenuCatalaClick();
        QCOMPARE(avis->text(), T(Idioma::Catala, IdText::BlocsPerduts) + QStringLiteral("1"));
    }

    // A recording that stops reading part-way stops listening and says why once its block is heard, and
    // again at a new start.
    void UnaGravacioTalladaHoDiu() {
        font = std::make_unique<FontFitxer>(std::make_unique<proves::MostresEnMemoria>(kSilenci),
                                            FontFitxer::Ritme::TanRapidComEsPugui);
        font->Identificar("/a/x.flac", [] { return std::string("truncated"); });
        app = std::make_unique<AplicacioTessora>(*font, dialegs, ini, "");
        QVERIFY(app->Arrencar(0));
        const QString error =
            "Tessora|" + T(Idioma::Castella, IdText::LecturaInterrompuda) + "/a/x.flac\n\ntruncated";
        QTRY_COMPARE(dialegs.Errors, QStringList{error});
        QCOMPARE(Boto("SpeedButtonEngegarParar")->text(), "E");
        F().SpeedButtonEngegarPararClick();
        QTRY_COMPARE(dialegs.Errors, QStringList(2, error));
    }

    void TancarMentreEscoltaAturaLaCaptura() {
        // A recording fed as fast as it is taken, so blocks keep coming while the window closes.
        std::vector<std::uint8_t> so(512 * 400, 128);
        FontFitxer font(std::make_unique<proves::MostresEnMemoria>(so),
                        FontFitxer::Ritme::TanRapidComEsPugui);
        app = std::make_unique<AplicacioTessora>(font, dialegs, ini, "");
        QVERIFY(app->Arrencar(0));
        QTRY_VERIFY(app->SessioActual->Captura().BlocsProcessats() > 5);
        F().close();
        QVERIFY(!app->SessioActual->Captura().DispositiuObert());
        QVERIFY(std::filesystem::exists(ini));
    }

    // Every window of the program (the progress window too, made when first asked for): no control is left
    // without a name.
    void CapControlSenseNom() {
        Arrencar();
        Fill<QAction>(app->FormExperimentacio.get(), "MenuProgres")->trigger();
        QVERIFY(app->FormProgres != nullptr);
        QStringList trobats;
        for (QWidget* finestra : QApplication::topLevelWidgets()) // menus: from their bars
            if (!finestra->inherits("QMenu"))
                SenseNom(QAccessible::queryAccessibleInterface(finestra), trobats);
        QVERIFY2(trobats.isEmpty(), qPrintable(trobats.join(QLatin1String(", "))));
    }

    // The experiment's prompt takes the focus, and Space stops the run as a click on its letter does.
    void LaIndicacioEsParaAmbElTeclat() {
        TFormDiguesParaula indicacio;
        QSignalSpy parar(&indicacio, &TFormDiguesParaula::LabelParaulaClick);
        indicacio.Indicar(QStringLiteral("A"));
        QTRY_COMPARE(QApplication::focusWidget(), Fill<QWidget>(&indicacio, "LabelParaula"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(parar.count(), 1);
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormPrincipal)
#include "test_form_principal.moc"
